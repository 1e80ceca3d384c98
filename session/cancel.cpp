#include "session/cancel.h"

namespace tessaly {

void bCancelClick(Session& s) {
  if (s.StopRequested) return;  // a stop under way (mkvmerge winding down) is not asked again
  if (!s.Writing || s.host.askYesNo("Are you sure to stop demuxing?")) s.StopRequested = true;
}

}  // namespace tessaly
