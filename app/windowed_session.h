// One running window: the toolkit host, the shared state and fMain over them, built
// in the order they need each other.
#pragma once

#include "app/main_window.h"
#include "app/matroska_follow_up.h"
#include "app/qt_host.h"
#include "session/session.h"

namespace tessaly::app {

class Prompts;

struct WindowedSession {
  explicit WindowedSession(Prompts& prompts) : host(prompts), session(host), fMain(session) {
    host.attach(fMain);
    // "Demux" goes on to the Matroska file when the Options page's box asks for it.
    session.FollowUp = matroskaFollowUp();
  }

  QtHost host;
  Session session;
  TfMain fMain;
};

}  // namespace tessaly::app
