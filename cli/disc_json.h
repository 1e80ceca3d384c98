// The disc as `tessaly-cli disc --json` prints it.
#pragma once

#include <string>

#include "disc/disc.h"

namespace tessaly::cli {

// {"disc", "boot", "player_boots", "playlists": [{"file", "error"?, "titles": [...]}]},
// keys in that order, times in ms (null when unreadable), two spaces a level.
std::string discJson(const Disc& disc);

}  // namespace tessaly::cli
