// "Read XPL": the playlist, one tag per line, its media attribute lists, and the
// title that plays the chosen EVO file.
#pragma once

#include "shell/session.h"

namespace tessaly {

// The click handler of bReadXPL.
void bReadXPLClick(Session& session);

}  // namespace tessaly
