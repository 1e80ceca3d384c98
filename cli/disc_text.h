// The disc as `tessaly-cli disc` prints it for a person: one block per playlist, the boot
// playlist first, a line per title, then its clips, chapters and tracks.
#pragma once

#include <string>

#include "disc/disc.h"

namespace tessaly::cli {

std::string discText(const Disc& disc);

}  // namespace tessaly::cli
