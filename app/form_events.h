// The window's own events: shown, activated, closed.
#pragma once

#include "session/session.h"

namespace tessaly::app {

class TfMain;

// The window is shown: from now on it takes dropped files.
void FormShow(TfMain& window);
// The window became active for the first time (start-up): loads the settings, then
// resets the stream boxes (one handler through invoke(), so a failed load skips the
// reset), and shows what was loaded. Later activations do not come here.
void FormActivate(Session& session, TfMain& window);
// The window closes: its normal geometry (when not maximised), state and tree width go
// into the records, then the settings are saved.
void FormClose(Session& session, TfMain& window);

}  // namespace tessaly::app
