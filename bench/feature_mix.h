// A realistic feature for the benchmark: 2048-byte packs of about 25 Mbit/s VC-1,
// two DD+ streams, one MLP stream and one subpicture stream by byte share, with a
// navigation pack about every half second.
#pragma once

#include <cstdint>

#include "tools/ps_writer.h"

namespace tessaly::bench {

// Writes packs until the stream holds at least `bytes` bytes (a whole number of packs).
void writeFeature(tools::PsWriter& writer, std::uint64_t bytes);

}  // namespace tessaly::bench
