#include "session/space_question.h"

namespace tessaly {

bool roomOrGoAhead(Session& s, const SpaceNeed& need) {
  const auto shortfall = spaceShortfall(need, s.FreeSpaceOf);
  return !shortfall || s.host.askYesNo(shortfallText(*shortfall) + ". Demux anyway?");
}

}  // namespace tessaly
