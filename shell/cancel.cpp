#include "shell/cancel.h"

namespace tessaly {

void bCancelClick(Session& s) {
  if (!s.Writing || s.host.askYesNo("Are you sure to stop demuxing?")) s.StopRequested = true;
}

}  // namespace tessaly
