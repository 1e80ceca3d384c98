// The core's jobs as the window shows them: their log lines go to mMessage, their status
// texts to the status bar, their breaths let the window's events through, Cancel
// (StopRequested) stops them, and "Continue with second  EVO" is read before a demux goes
// on to its second segment.
#pragma once

#include "platform/job_observer.h"
#include "session/session.h"

namespace tessaly {

class SessionObserver final : public JobObserver {
 public:
  explicit SessionObserver(Session& session) : s_(session) {}

  void log(const std::string& line) override;
  void status(int panel, const std::string& text) override;
  void breathe() override { s_.host.processMessages(); }
  void repaint() override { s_.host.repaint(); }
  bool stopRequested() override { return s_.StopRequested; }
  // bCancel is enabled while a pass or mkvmerge runs, and stays so when an error ends it;
  // StopRequested is cleared as it starts.
  void stoppableBegins(bool writing) override;
  void stoppableEnds() override { s_.fMain.bCancel.enabled = false; }
  bool continueWith(const std::string& segment) override;

 private:
  Session& s_;
};

}  // namespace tessaly
