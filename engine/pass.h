// One pass of the program-stream engine over an input, in 32 KB chunks.
#pragma once

#include <cstdint>
#include <string>

#include "engine/pass_port.h"
#include "shell/files.h"
#include "shell/stream_table.h"

namespace tessaly {

// How a pass ended, besides by the end of its input.
struct PassResult {
  bool limitReached = false;    // the fast-check limit ended the scan
  std::uint64_t scrambled = 0;  // packets whose scrambling control is not 00
};

// Walks `input` from its position to its end: resets `table` and fills it, reports to
// `observer`, and stops before a chunk when the observer asks to or the fast-check limit
// was passed. The first chunk's system header gives the summary line; a pass that met
// scrambled packets ends with a warning line giving their count. A read that returns
// nothing before the end throws "Stream read error"; a sink's error ends the pass.
PassResult runPass(InputFile& input, SlotTable& table, const PassOptions& options,
                   PassObserver& observer);

// The line that ends a pass that met scrambled packets.
std::string scrambledWarning(std::uint64_t packets);

}  // namespace tessaly
