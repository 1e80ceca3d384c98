// The disc as `tessaly-cli disc` prints it for a person: one block per playlist, the boot
// playlist first, a line per title, then its clips, chapters and tracks.
#pragma once

#include <cstdint>
#include <string>

#include "disc/disc.h"

namespace tessaly::cli {

std::string discText(const Disc& disc);

// A duration as H:MM:SS (1:42:27), whole seconds; "no duration" below 0.
std::string durationText(std::int64_t ms);

}  // namespace tessaly::cli
