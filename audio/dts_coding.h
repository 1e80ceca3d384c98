// DTS core frames (sync word 0x7FFE8001, 16-bit big-endian words) and DTS-HD extension
// substreams (sync word 0x64582025). An access unit is a core frame with the extension
// substreams that follow it, one of each substream index; a stream without a core (an
// extension substream only) has a unit per extension substream, timed by its header.
#pragma once

#include <memory>

#include "audio/sync_coding.h"

namespace tessaly {

std::unique_ptr<SyncCoding> dtsCoding();

}  // namespace tessaly
