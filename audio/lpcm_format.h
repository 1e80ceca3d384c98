// HD DVD LPCM as the disc carries it. Each packet's sub-header ends in three format bytes:
// emphasis, mute and frame number; then quantisation (bits 7..6: 16, 20 or 24 bits),
// sampling rate (bits 5..4: 48, 96, 44.1 or 32 kHz) and channels - 1 (bits 2..0); then
// dynamic range control. 16-bit samples are big-endian and interleaved. 20- and 24-bit
// samples come in groups of four (two for one channel): first the top 16 bits of each,
// big-endian, then their low bits (a byte each at 24 bits, a nibble each at 20, the
// earlier sample in the high nibble).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tessaly {

struct LpcmFormat {
  int bits = 16;  // 16, 20 or 24
  int sampleRate = 48000;
  int channels = 2;  // 1..8

  bool operator==(const LpcmFormat&) const = default;

  // Bytes of one sample and of one sample frame in the WAV file: 20 bits take three.
  int wavSampleBytes() const { return bits == 16 ? 2 : 3; }
  int wavFrameBytes() const { return wavSampleBytes() * channels; }
  // Bytes of the stream that are decoded together: whole groups holding whole frames.
  std::size_t blockBytes() const;
  // The sample periods (a sample of every channel) one block holds.
  std::int64_t blockPeriods() const {
    return static_cast<std::int64_t>(blockBytes()) * 8 / (bits * channels);
  }
};

// The format that the three format bytes give; nullopt for the quantisation code 3,
// which names no sample size.
std::optional<LpcmFormat> lpcmFormat(const std::array<std::uint8_t, 3>& formatBytes);

}  // namespace tessaly
