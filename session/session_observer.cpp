#include "session/session_observer.h"

#include "session/log.h"

namespace tessaly {

void SessionObserver::log(const std::string& line) {
  tessaly::log(s_, line);
}

void SessionObserver::status(int panel, const std::string& text) {
  slog(s_, text, panel);
}

void SessionObserver::stoppableBegins(bool writing) {
  s_.fMain.bCancel.enabled = true;
  s_.StopRequested = false;
  s_.Writing = writing;
}

// The option is read again here: unticking it during the first pass prevents the
// continuation.
bool SessionObserver::continueWith(const std::string&) {
  return s_.fMain.cbContinue.ticked;
}

}  // namespace tessaly
