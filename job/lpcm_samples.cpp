#include "job/lpcm_samples.h"

#include <algorithm>
#include <array>

namespace tessaly {
namespace {

// ffmpeg's default layouts by channel count: mono, stereo, 2.1, 4.0, 5.0, 5.1, 6.1, 7.1.
constexpr std::array<std::uint32_t, 8> kChannelMasks{0x4,  0x3,  0xB,   0x107,
                                                     0x37, 0x3F, 0x70F, 0x63F};

// Samples of one group: four, or two when there is one channel.
int groupSamples(const LpcmFormat& f) {
  return f.channels == 1 ? 2 : 4;
}

// One group of 20- or 24-bit samples, as 24-bit little-endian samples: the low byte from
// the group's tail (at 20 bits the sample's nibble, shifted to the top of the byte), then
// the two bytes of the top 16 bits.
void group(const LpcmFormat& f, const std::uint8_t* in, std::uint8_t*& out) {
  const int samples = groupSamples(f);
  const std::uint8_t* low = in + 2 * samples;
  for (int n = 0; n < samples; ++n) {
    if (f.bits == 24) {
      *out++ = low[n];
    } else {
      const std::uint8_t nibbles = low[n / 2];
      *out++ = static_cast<std::uint8_t>(n % 2 == 0 ? nibbles & 0xF0 : nibbles << 4);
    }
    *out++ = in[2 * n + 1];
    *out++ = in[2 * n];
  }
}

}  // namespace

std::uint32_t lpcmChannelMask(int channels) {
  return kChannelMasks.at(static_cast<std::size_t>(channels - 1));
}

void LpcmReorder::take(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) {
  const std::size_t size = format_.blockBytes();
  if (!pending_.empty()) {
    const std::size_t missing = std::min(size - pending_.size(), data.size());
    pending_.insert(pending_.end(), data.begin(), data.begin() + static_cast<long>(missing));
    data = data.subspan(missing);
    if (pending_.size() < size) return;
    block(pending_.data(), out);
    pending_.clear();
  }
  const std::size_t whole = data.size() / size * size;
  for (std::size_t at = 0; at < whole; at += size) block(data.data() + at, out);
  pending_.assign(data.begin() + static_cast<long>(whole), data.end());
}

// A block gives as many WAV bytes as its samples take there.
void LpcmReorder::block(const std::uint8_t* in, std::vector<std::uint8_t>& out) const {
  const std::size_t size = format_.blockBytes();
  const std::size_t start = out.size();
  const std::size_t samples = size * 8 / static_cast<std::size_t>(format_.bits);
  out.resize(start + samples * static_cast<std::size_t>(format_.wavSampleBytes()));
  std::uint8_t* put = out.data() + start;
  if (format_.bits == 16) {
    for (std::size_t n = 0; n < size; n += 2) {
      *put++ = in[n + 1];
      *put++ = in[n];
    }
    return;
  }
  const std::size_t groupBytes = static_cast<std::size_t>(groupSamples(format_) * format_.bits / 8);
  for (std::size_t at = 0; at < size; at += groupBytes) group(format_, in + at, put);
}

}  // namespace tessaly
