#include "audio/dts_coding.h"

#include <array>

#include "audio/bit_reader.h"

namespace tessaly {
namespace {

constexpr std::uint32_t kCoreSync = 0x7FFE8001;
constexpr std::uint32_t kSubstreamSync = 0x64582025;
constexpr std::size_t kSyncBytes = 4;
constexpr std::size_t kCoreHeaderBytes = 9;        // up to the sampling frequency
constexpr std::size_t kSubstreamHeaderBytes = 11;  // up to the frame duration, wide sizes
constexpr int kSamplesPerBlock = 32;
constexpr int kMinBlocks = 6;
constexpr int kMinCoreBytes = 96;
constexpr int kSubstreamDurationUnit = 512;  // reference clock periods per duration code step
// Core sampling frequencies by SFREQ; 0 where the code names none.
constexpr std::array<int, 16> kCoreRates{0,     8000, 16000, 32000, 0,     0,     11025, 22050,
                                         44100, 0,    0,     12000, 24000, 48000, 0,     0};
constexpr std::array<int, 3> kReferenceClocks{32000, 44100, 48000};  // nuRefClockCode 0..2

enum Kind : std::uint8_t { kCore, kSubstream };

std::uint32_t word32(std::span<const std::uint8_t> h) {
  return (std::uint32_t{h[0]} << 24) | (std::uint32_t{h[1]} << 16) | (std::uint32_t{h[2]} << 8) |
         h[3];
}

// FTYPE, SHORT, CPF, NBLKS, FSIZE, AMODE, SFREQ after the sync word.
Probe coreFrame(std::span<const std::uint8_t> h) {
  BitReader bits(h.subspan(kSyncBytes));
  bits.skip(1 + 5 + 1);
  const int blocks = static_cast<int>(bits.read(7)) + 1;
  const int size = static_cast<int>(bits.read(14)) + 1;
  bits.skip(6);
  const int rate = kCoreRates[bits.read(4)];
  if (blocks < kMinBlocks || size < kMinCoreBytes || rate == 0) return Probe::none();
  return Probe::found({.size = static_cast<std::uint32_t>(size),
                       .samples = blocks * kSamplesPerBlock,
                       .rate = rate,
                       .kind = kCore});
}

// After the sync word: user bits, the substream index, the size fields (wide or not) and,
// with the static fields, the reference clock and the frame duration.
Probe substreamFrame(std::span<const std::uint8_t> h) {
  BitReader bits(h.subspan(kSyncBytes));
  bits.skip(8);
  const auto index = static_cast<std::uint8_t>(bits.read(2));
  const bool wide = bits.flag();
  const std::uint32_t headerSize = bits.read(wide ? 12 : 8) + 1;
  const std::uint32_t size = bits.read(wide ? 20 : 16) + 1;
  SyncFrame frame{.size = size, .kind = kSubstream, .index = index};
  if (bits.flag()) {
    const std::uint32_t clock = bits.read(2);
    const std::uint32_t duration = bits.read(3) + 1;
    if (clock >= kReferenceClocks.size()) return Probe::none();
    frame.samples = kSubstreamDurationUnit * duration;
    frame.rate = kReferenceClocks[clock];
  }
  if (headerSize > size || size < kSubstreamHeaderBytes) return Probe::none();
  return Probe::found(frame);
}

class DtsCoding final : public SyncCoding {
 public:
  std::size_t syncEnd(std::uint64_t window) const override {
    const auto word = static_cast<std::uint32_t>(window);
    return word == kCoreSync || word == kSubstreamSync ? kSyncBytes : 0;
  }
  std::size_t headerBytes() const override { return kSyncBytes; }

  Probe probe(std::span<const std::uint8_t> h) override {
    const std::uint32_t sync = word32(h);
    const std::size_t need = sync == kCoreSync ? kCoreHeaderBytes : kSubstreamHeaderBytes;
    if (sync != kCoreSync && sync != kSubstreamSync) return Probe::none();
    if (h.size() < need) return Probe::more(need);
    return sync == kCoreSync ? coreFrame(h) : substreamFrame(h);
  }

  Join accept(SyncFrame& frame) override {
    if (frame.kind == kCore) {
      unitHasCore_ = true;
      indices_ = 0;
      return Join::Start;
    }
    const auto bit = static_cast<std::uint8_t>(1u << frame.index);
    if (unitHasCore_ && (indices_ & bit) == 0) {
      indices_ |= bit;
      return Join::Add;
    }
    // A unit of its own: timed by its header, or as the last such unit was.
    if (frame.rate == 0) {
      frame.samples = lastSamples_;
      frame.rate = lastRate_;
    }
    lastSamples_ = frame.samples;
    lastRate_ = frame.rate;
    unitHasCore_ = false;
    indices_ = bit;
    return Join::Start;
  }

 private:
  bool unitHasCore_ = false;
  std::uint8_t indices_ = 0;  // the substream indices the unit holds
  std::int64_t lastSamples_ = 0;
  std::int32_t lastRate_ = 0;
};

}  // namespace

std::unique_ptr<SyncCoding> dtsCoding() {
  return std::make_unique<DtsCoding>();
}

}  // namespace tessaly
