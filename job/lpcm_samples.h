// HD DVD LPCM samples (their layout in audio/lpcm_format.h) turned into the little-endian
// interleaved order of a WAV file, decoded as ffmpeg's DVD LPCM decoder decodes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "audio/lpcm_format.h"

namespace tessaly {

// The speakers of `channels` channels as a WAVE_FORMAT_EXTENSIBLE channel mask: the
// layouts ffmpeg gives DVD LPCM of that many channels.
std::uint32_t lpcmChannelMask(int channels);

// Turns a stream of LPCM samples, fed in pieces of any size, into WAV samples. Only whole
// blocks are turned; the bytes of a block not yet complete wait for the next piece, and
// those left at the end are not samples of a whole block (a decoder drops them too).
class LpcmReorder {
 public:
  explicit LpcmReorder(const LpcmFormat& format) : format_(format) {}

  // Appends the WAV samples of every block that `data` completes to `out`.
  void take(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out);
  // Bytes waiting for the rest of their block.
  std::size_t pending() const { return pending_.size(); }

 private:
  void block(const std::uint8_t* in, std::vector<std::uint8_t>& out) const;

  LpcmFormat format_;
  std::vector<std::uint8_t> pending_;
};

}  // namespace tessaly
