#include "audio/ac3_coding.h"

#include <array>

namespace tessaly {
namespace {

constexpr std::uint16_t kSyncWord = 0x0B77;
constexpr std::size_t kHeaderBytes = 6;  // up to the bit stream id
constexpr int kLastAc3Bsid = 10;
constexpr int kLastEac3Bsid = 16;
constexpr int kAc3Samples = 1536;  // six blocks of 256
constexpr int kBlockSamples = 256;
constexpr std::array<int, 3> kRates{48000, 44100, 32000};         // fscod 0..2
constexpr std::array<int, 3> kReducedRates{24000, 22050, 16000};  // E-AC-3 fscod2 0..2
constexpr std::array<int, 4> kBlocks{1, 2, 3, 6};                 // E-AC-3 numblkscod
// AC-3 bit rates in kbit/s by frmsizecod / 2.
constexpr std::array<int, 19> kKbps{32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                                    192, 224, 256, 320, 384, 448, 512, 576, 640};
constexpr int kNoRate = 3;  // fscod (and fscod2) 3

enum Kind : std::uint8_t { kAc3, kIndependent0, kIndependentOther, kDependent };
constexpr int kDependentStream = 1;  // strmtyp
constexpr int kReservedStream = 3;

// An AC-3 frame's 16-bit words: the bit rate's share of 1536 samples; at 44.1 kHz the
// odd codes of each rate add the word the division leaves.
int ac3Words(int fscod, int frmsizecod) {
  const int rate = kRates[static_cast<std::size_t>(fscod)];
  const int words = kKbps[static_cast<std::size_t>(frmsizecod / 2)] * 96000 / rate;
  return words + (rate == 44100 ? frmsizecod % 2 : 0);
}

Probe ac3Frame(std::span<const std::uint8_t> h, int bsid) {
  const int fscod = h[4] >> 6;
  const int frmsizecod = h[4] & 0x3F;
  if (fscod == kNoRate || frmsizecod / 2 >= static_cast<int>(kKbps.size())) return Probe::none();
  const int shift = bsid > 8 ? bsid - 8 : 0;
  return Probe::found({.size = static_cast<std::uint32_t>(2 * ac3Words(fscod, frmsizecod)),
                       .samples = kAc3Samples,
                       .rate = kRates[static_cast<std::size_t>(fscod)] >> shift,
                       .kind = kAc3});
}

Probe eac3Frame(std::span<const std::uint8_t> h) {
  const int strmtyp = h[2] >> 6;
  const int substreamid = (h[2] >> 3) & 0x07;
  const auto size = static_cast<std::uint32_t>(2 * ((((h[2] & 0x07) << 8) | h[3]) + 1));
  const int fscod = h[4] >> 6;
  const int code = (h[4] >> 4) & 0x03;  // numblkscod, or fscod2 at the reduced rates
  if (strmtyp == kReservedStream || size < kHeaderBytes) return Probe::none();
  if (fscod == kNoRate && code == kNoRate) return Probe::none();
  const bool reduced = fscod == kNoRate;
  const std::uint8_t kind = strmtyp == kDependentStream ? kDependent
                            : substreamid == 0          ? kIndependent0
                                                        : kIndependentOther;
  return Probe::found(
      {.size = size,
       .samples = kBlockSamples * (reduced ? 6 : kBlocks[static_cast<std::size_t>(code)]),
       .rate = reduced ? kReducedRates[static_cast<std::size_t>(code)]
                       : kRates[static_cast<std::size_t>(fscod)],
       .kind = kind});
}

class Ac3Coding final : public SyncCoding {
 public:
  std::size_t syncEnd(std::uint64_t window) const override {
    return (window & 0xFFFF) == kSyncWord ? 2 : 0;
  }
  std::size_t headerBytes() const override { return kHeaderBytes; }

  Probe probe(std::span<const std::uint8_t> h) override {
    if (((h[0] << 8) | h[1]) != kSyncWord) return Probe::none();
    const int bsid = h[5] >> 3;
    if (bsid <= kLastAc3Bsid) return ac3Frame(h, bsid);
    if (bsid <= kLastEac3Bsid) return eac3Frame(h);
    return Probe::none();
  }

  Join accept(SyncFrame& frame) override {
    if (frame.kind == kAc3 || frame.kind == kIndependent0) {
      open_ = true;
      return Join::Start;
    }
    return open_ ? Join::Add : Join::Drop;
  }

 private:
  bool open_ = false;  // an access unit was begun
};

}  // namespace

std::unique_ptr<SyncCoding> ac3Coding() {
  return std::make_unique<Ac3Coding>();
}

}  // namespace tessaly
