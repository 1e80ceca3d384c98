// What a job of the core tells its front end, and what it asks: the log lines and status
// texts (as described, so that every front end shows the same), the breaths that let a
// window handle its events mid-job, and whether to stop or go on. The window model, the
// command line and the tests each implement it; the jobs know nothing else of them.
#pragma once

#include <exception>
#include <string>

namespace tessaly {

// Why a job ended.
enum class JobEnd {
  Complete,        // all of it was done
  Stopped,         // the observer asked it to stop
  FastCheckLimit,  // a scan with the fast check passed its limit
  Failed,          // an error ended it; the result holds the error
};

class JobObserver {
 public:
  virtual ~JobObserver() = default;
  // A line of the log.
  virtual void log(const std::string& line) = 0;
  // A status text: panel 0 the job's state ("Reading", "Writing stream(s)", ...), panel 1
  // its progress.
  virtual void status(int panel, const std::string& text) = 0;
  // Every 4 MiB of a pass, and while mkvmerge runs: the front end may handle its events.
  virtual void breathe() {}
  // Every 64 MiB of a pass: the front end may repaint all it shows.
  virtual void repaint() {}
  // Asked before each 32 KiB chunk of a pass and at each breath of mkvmerge's run.
  virtual bool stopRequested() { return false; }
  // A stretch that stopRequested() may end begins (a pass, mkvmerge's run); `writing`:
  // files are being written, so a window asks before it stops. It ends normally with
  // stoppableEnds(); an error ends it without.
  virtual void stoppableBegins(bool /*writing*/) {}
  virtual void stoppableEnds() {}
  // Asked before each later segment of a demux, once the one before is done.
  virtual bool continueWith(const std::string& /*segment*/) { return true; }
};

// The last lines of a job that ended normally: "Done.", then the status "Ready" and an
// empty progress text. The front end logs them once every step it chains is done.
inline void endJob(JobObserver& observer) {
  observer.log("Done.");
  observer.status(0, "Ready");
  observer.status(1, "");
}

// Throws the error that ended a job, if any: the front end's one error report shows it.
inline void rethrowFailure(const std::exception_ptr& error) {
  if (error) std::rethrow_exception(error);
}

}  // namespace tessaly
