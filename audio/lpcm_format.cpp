#include "audio/lpcm_format.h"

namespace tessaly {
namespace {

constexpr std::array<int, 4> kSampleRates{48000, 96000, 44100, 32000};
constexpr int kQuantisationShift = 6;
constexpr int kRateShift = 4;
constexpr std::uint8_t kTwoBits = 0x03;
constexpr std::uint8_t kChannelBits = 0x07;
constexpr int kReservedQuantisation = 3;

}  // namespace

std::size_t LpcmFormat::blockBytes() const {
  if (bits == 16) return static_cast<std::size_t>(2 * channels);
  // Groups per block: one for 1, 2 and 4 channels, two for 8, one per channel otherwise.
  const int groups = channels == 1 || channels == 2 || channels == 4 ? 1
                     : channels == 8                                 ? 2
                                                                     : channels;
  return static_cast<std::size_t>(groups * 4 * bits / 8);
}

std::optional<LpcmFormat> lpcmFormat(const std::array<std::uint8_t, 3>& formatBytes) {
  const std::uint8_t info = formatBytes[1];
  const int quantisation = (info >> kQuantisationShift) & kTwoBits;
  if (quantisation == kReservedQuantisation) return std::nullopt;
  return LpcmFormat{16 + 4 * quantisation, kSampleRates[(info >> kRateShift) & kTwoBits],
                    1 + (info & kChannelBits)};
}

}  // namespace tessaly
