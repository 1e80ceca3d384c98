// AC-3 and E-AC-3 sync frames (sync word 0x0B77). The bit stream id tells them apart in
// every frame, since the DD+ sub-stream range may carry AC-3: up to 10 is AC-3 (9 and 10
// at half and quarter rate), 11 to 16 E-AC-3. An AC-3 frame is an access unit of its own;
// an E-AC-3 access unit is an independent substream 0 with the dependent substreams (and
// further independent substreams) that follow it.
#pragma once

#include <memory>

#include "audio/sync_coding.h"

namespace tessaly {

std::unique_ptr<SyncCoding> ac3Coding();

}  // namespace tessaly
