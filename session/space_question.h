// Before a demux reads its first byte: when the file system that takes its outputs (or
// its Matroska file) looks too small, the operator says whether to go on.
#pragma once

#include "platform/write_room.h"
#include "session/session.h"

namespace tessaly {

// True when the free space covers `need`, or when the operator answers Yes to "Not enough
// free space in "DIR": 1.2 GB free, 4.6 GB needed. Demux anyway?".
bool roomOrGoAhead(Session& session, const SpaceNeed& need);

}  // namespace tessaly
