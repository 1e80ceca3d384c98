// The titles page: every title of every playlist of the disc that a drop or "Read XPL"
// names (its folder, any file in it, or its image), the boot playlist first, the main
// feature selected.
#pragma once

#include <string>

#include "disc/disc.h"
#include "session/session.h"

namespace tessaly {

// Reads the disc at `path` (a disc image when it is a regular file outside a disc folder)
// and lists its titles in lvTitles. Throws as readDiscOperand() does; the list is then
// empty.
void listTitles(Session& session, const std::string& path);

// The same for the disc that holds `path`, if there is one; without one the list is empty.
void listTitlesAround(Session& session, const std::string& path);

// The title of the selected row, or nullptr.
const DiscTitle* selectedTitle(const Session& session);

}  // namespace tessaly
