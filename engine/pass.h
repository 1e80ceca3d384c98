// One pass of the program-stream engine over an input, in 32 KB chunks.
#pragma once

#include <cstdint>
#include <string>

#include "engine/pass_input.h"
#include "engine/pass_port.h"
#include "engine/stream_slots.h"

namespace tessaly {

// Why a pass ended.
enum class PassEnd {
  Complete,        // at the end of its input
  Stopped,         // the observer asked it to stop
  FastCheckLimit,  // a scan with the fast check passed its limit
};

struct PassResult {
  PassEnd end = PassEnd::Complete;
  std::uint64_t scrambled = 0;  // packets whose scrambling control is not 00
};

// Walks `input` from its position to its end: resets `table` and fills it, reports to
// `observer`, and stops before a chunk when the observer asks to or a scan passed the
// fast-check limit (a writing pass with the fast check tells the observer when it passes
// it, and goes on). The first chunk's system header gives the summary line; a pass that
// met scrambled packets ends with a warning line giving their count. A read that returns
// nothing before the end throws "Stream read error"; a sink's error ends the pass.
PassResult runPass(PassInput& input, SlotTable& table, const PassOptions& options,
                   PassObserver& observer);

// The line that ends a pass that met scrambled packets.
std::string scrambledWarning(std::uint64_t packets);

}  // namespace tessaly
