// Settings that survive a restart: the window's geometry, the output extensions and
// folder, the last folders and the two options.
#pragma once

#include "session/session.h"

namespace tessaly {

// Loads the stored settings into the records; a value of the wrong type throws
// "Invalid data type for '%s'" with the values before it loaded.
void RegRead(Session& session);

// Saves the records; a failed write throws "Failed to set data for '%s'". A stored file
// that a load would not take whole is first kept as "Tessaly.reg.bak".
void RegWrite(Session& session);

}  // namespace tessaly
