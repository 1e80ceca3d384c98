// What a verb checks before it reads the first byte of its input, so that a run that
// cannot end well fails at once, naming the path and the reason, with nothing created: the
// output folder can be written (or made), the film's folder can be written, mkvmerge is
// there, and the output's file system has room for what the job writes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/write_room.h"

namespace tessaly::cli {

struct EarlyChecks {
  std::string outputFolder;     // made when missing; empty for the current folder
  std::string film;             // the Matroska file that mkvmerge makes; empty for none
  std::int64_t inputBytes = 0;  // the inputs' sizes: the streams take as much, the film too
  bool spaceCheck = true;       // false: --no-space-check
};

// Throws Error for the first check that fails: "Cannot create folder "DIR". REASON" (a
// missing folder whose nearest existing parent cannot take it), "Cannot write into folder
// "DIR". REASON", mkvmerge's "was not found" message, or "Not enough free space in "DIR":
// 1.2 GB free, 4.6 GB needed (--no-space-check to go on)". A film on the outputs' file
// system adds its size (estimated as the inputs') to theirs.
void checkBeforeReading(const EarlyChecks& checks, const FreeSpace& free = freeSpace);

}  // namespace tessaly::cli
