#include "audio/mlp_coding.h"

#include <array>
#include <optional>

namespace tessaly {
namespace {

constexpr std::uint32_t kMajorSync = 0xF8726FBA;  // the low bit tells TrueHD (0) from MLP (1)
constexpr std::size_t kUnitHeaderBytes = 4;       // parity and length, input timing
constexpr std::size_t kMajorSyncAt = 4;
constexpr std::size_t kMajorSyncBytes = 28;  // without a TrueHD extension
constexpr std::uint8_t kTrueHdType = 0xBA;
constexpr int kUnitSamples = 40;               // at the base rates, 48 and 44.1 kHz
constexpr int kMaxRateShift = 2;               // 192 and 176.4 kHz
constexpr std::uint8_t kExtraWordFlag = 0x80;  // a substream directory entry of four bytes
constexpr std::uint8_t kParityOk = 0x0F;
constexpr std::uint16_t kChecksumPolynomial = 0x002D;

constexpr std::uint32_t word32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

constexpr std::uint16_t word16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// The major sync's CRC-16 (polynomial 0x2D, most significant bit first, from 0).
std::uint16_t crc16(std::span<const std::uint8_t> bytes) {
  std::uint16_t crc = 0;
  for (const std::uint8_t byte : bytes) {
    crc ^= static_cast<std::uint16_t>(byte << 8);
    for (int bit = 0; bit < 8; ++bit) {
      crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ kChecksumPolynomial : crc << 1);
    }
  }
  return crc;
}

// What a major sync says for the units up to the next one.
struct MajorSync {
  std::int64_t samples = 0;
  std::int32_t rate = 0;
  int substreams = 0;
};

// The major sync block `m`, as many bytes as its size needs: its size (with a TrueHD
// extension), then, once whole, its checksum and fields.
class MajorSyncBlock {
 public:
  explicit MajorSyncBlock(std::span<const std::uint8_t> m) : m_(m) {}

  std::size_t size() const {
    if (m_[3] != kTrueHdType || m_.size() < kMajorSyncBytes || (m_[25] & 1) == 0)
      return kMajorSyncBytes;
    return kMajorSyncBytes + 2 + 2 * (m_[26] >> 4);
  }
  // The fields, when the checksum holds and they name a rate and substreams.
  std::optional<MajorSync> fields() const {
    const std::size_t n = size();
    const std::uint16_t check = crc16(m_.first(n - 4)) ^ word16(&m_[n - 4]);
    if (check != word16(&m_[n - 2])) return std::nullopt;
    const int rateBits = (m_[3] == kTrueHdType ? m_[4] : m_[5]) >> 4;
    const int shift = rateBits & 7;
    const int substreams = m_[16] >> 4;
    if (rateBits == 0xF || shift > kMaxRateShift || substreams == 0) return std::nullopt;
    return MajorSync{kUnitSamples << shift, (rateBits & 8 ? 44100 : 48000) << shift, substreams};
  }

 private:
  std::span<const std::uint8_t> m_;
};

class MlpCoding final : public SyncCoding {
 public:
  std::size_t syncEnd(std::uint64_t window) const override {
    return (static_cast<std::uint32_t>(window) & ~1u) == kMajorSync ? kMajorSyncAt + 4 : 0;
  }
  std::size_t headerBytes() const override { return kUnitHeaderBytes; }

  Probe probe(std::span<const std::uint8_t> h) override {
    const std::size_t length = 2u * (word16(h.data()) & 0x0FFF);
    if (length < kUnitHeaderBytes) return Probe::none();
    const std::size_t syncBytes = kMajorSyncAt + 4;
    if (length >= syncBytes && h.size() < syncBytes) return Probe::more(syncBytes);
    if (length >= syncBytes && (word32(&h[kMajorSyncAt]) & ~1u) == kMajorSync) {
      return majorUnit(h, length);
    }
    return minorUnit(h, length);
  }

  Join accept(SyncFrame&) override { return Join::Start; }

 private:
  Probe majorUnit(std::span<const std::uint8_t> h, std::size_t length) {
    const std::size_t atLeast = kMajorSyncAt + kMajorSyncBytes;
    if (h.size() < atLeast) return Probe::more(atLeast);
    const std::size_t whole = kMajorSyncAt + MajorSyncBlock(h.subspan(kMajorSyncAt)).size();
    if (h.size() < whole) return Probe::more(whole);
    const auto fields = MajorSyncBlock(h.subspan(kMajorSyncAt)).fields();
    if (!fields || length < whole) return Probe::none();
    last_ = *fields;
    return Probe::found({.size = static_cast<std::uint32_t>(length),
                         .samples = fields->samples,
                         .rate = fields->rate,
                         .majorSync = true});
  }

  // A unit without a major sync: its header and substream directory must have odd parity
  // in each nibble, as the check nibble makes them.
  Probe minorUnit(std::span<const std::uint8_t> h, std::size_t length) const {
    if (!last_) return Probe::none();
    std::uint8_t parity = h[0] ^ h[1] ^ h[2] ^ h[3];
    std::size_t at = kUnitHeaderBytes;
    for (int n = 0; n < last_->substreams; ++n) {
      if (h.size() < at + 2) return at + 2 <= length ? Probe::more(at + 2) : Probe::none();
      const std::size_t entry = h[at] & kExtraWordFlag ? 4 : 2;
      if (h.size() < at + entry)
        return at + entry <= length ? Probe::more(at + entry) : Probe::none();
      for (std::size_t i = 0; i < entry; ++i) parity ^= h[at + i];
      at += entry;
    }
    if ((((parity >> 4) ^ parity) & 0x0F) != kParityOk) return Probe::none();
    return Probe::found({.size = static_cast<std::uint32_t>(length),
                         .samples = last_->samples,
                         .rate = last_->rate,
                         .majorSync = false});
  }

  std::optional<MajorSync> last_;  // of the last major sync read
};

}  // namespace

std::unique_ptr<SyncCoding> mlpCoding() {
  return std::make_unique<MlpCoding>();
}

}  // namespace tessaly
