// Choosing the playlist file: by dialog, by drop, or derived from the EVO file.
#pragma once

#include "session/session.h"

namespace tessaly {

// Derives XPLname and XPLdir from eXPLfile, updates "Read XPL", and for a playlist
// in an "ADV_OBJ/" folder points the EVO dialog at the sibling "HVDVD_TS/".
void XPLadj(Session& session);

// Shows odXPL at XPLdir and takes its current file name, chosen or not.
void bbXPLClick(Session& session);

}  // namespace tessaly
