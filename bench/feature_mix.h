// The benchmark's feature: elementary streams encoded beforehand (a few seconds each,
// all of the same length), multiplexed into 2048-byte packs in proportion to their
// sizes, with a navigation pack about every half second, and repeated until the file
// has the size asked for. Time stamps keep rising across the repetitions.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/ps_writer.h"

namespace tessaly::bench {

struct Elementary {
  tools::Stream stream;
  std::vector<std::uint8_t> bytes;  // one repetition of the stream
  std::size_t unit = 1;             // payloads are cut to whole multiples (LPCM sample frames)
};

// Writes packs until the stream holds at least `bytes` bytes; `seconds` is the playing
// time of one repetition.
void writeFeature(tools::PsWriter& writer, std::uint64_t bytes, double seconds,
                  const std::vector<Elementary>& streams);

}  // namespace tessaly::bench
