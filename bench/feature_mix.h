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
  // Where its pictures start, for video: only a packet in which one starts carries a time
  // stamp, that picture's. Empty: every packet does, the time of its first byte.
  std::vector<std::size_t> pictures = {};
};

// Where the pictures of an MPEG-2 video elementary stream start (picture start codes).
std::vector<std::size_t> pictureStarts(const std::vector<std::uint8_t>& video);

// Writes packs until the stream holds at least `bytes` bytes; `seconds` is the playing
// time of one repetition.
void writeFeature(tools::PsWriter& writer, std::uint64_t bytes, double seconds,
                  const std::vector<Elementary>& streams);

}  // namespace tessaly::bench
