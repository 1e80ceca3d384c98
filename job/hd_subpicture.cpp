#include "job/hd_subpicture.h"

#include <algorithm>

namespace tessaly {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kTableOffsetAt = 6;   // after the two zero bytes and the size
constexpr std::size_t kSequenceHeader = 6;  // delay, offset of the next sequence

// Display control commands of HD units.
constexpr std::uint8_t kForcedStart = 0x00;   // FSTA_DSP
constexpr std::uint8_t kStart = 0x01;         // STA_DSP
constexpr std::uint8_t kStop = 0x02;          // STP_DSP
constexpr std::uint8_t kColours = 0x83;       // SET_COLOR2: 256 x (Y, Cr, Cb)
constexpr std::uint8_t kContrasts = 0x84;     // SET_CONTR2: 256 contrasts
constexpr std::uint8_t kArea = 0x85;          // SET_DAREA2: x1, x2, y1, y2 in 12 bits each
constexpr std::uint8_t kFields = 0x86;        // SET_DSPXA2: two 32-bit offsets
constexpr std::uint8_t kColourChange = 0x87;  // CHG_COLCON2: its parameter area, skipped
constexpr std::uint8_t kEnd = 0xFF;           // CMD_END

constexpr std::size_t kColoursBytes = 256 * 3;
constexpr std::size_t kContrastsBytes = 256;
constexpr std::size_t kAreaBytes = 6;
constexpr std::size_t kFieldsBytes = 8;
// CHG_COLCON2's parameter area starts with its own size, which counts the size field.
constexpr std::size_t kChangeSizeBytes = 4;

bool fits(Bytes unit, std::size_t at, std::size_t bytes) {
  return at <= unit.size() && unit.size() - at >= bytes;
}

std::optional<std::uint32_t> field(Bytes unit, std::size_t at, std::size_t bytes) {
  if (!fits(unit, at, bytes)) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < bytes; ++i) value = value << 8 | unit[at + i];
  return value;
}

HdArea areaAt(Bytes unit, std::size_t at) {
  const auto pair = [&](std::size_t from) {
    const std::uint32_t both = *field(unit, from, 3);
    return std::pair{static_cast<int>(both >> 12), static_cast<int>(both & 0xFFF)};
  };
  const auto [x1, x2] = pair(at);
  const auto [y1, y2] = pair(at + 3);
  return {x1, y1, x2, y2};
}

// The bytes a command's arguments take at `at` (after the command byte); nullopt when
// the command is not one of the format's or its arguments leave the unit.
std::optional<std::size_t> argumentBytes(Bytes unit, std::uint8_t command, std::size_t at) {
  std::size_t bytes = 0;
  switch (command) {
    case kForcedStart:
    case kStart:
    case kStop:
      return 0;
    case kColours:
      bytes = kColoursBytes;
      break;
    case kContrasts:
      bytes = kContrastsBytes;
      break;
    case kArea:
      bytes = kAreaBytes;
      break;
    case kFields:
      bytes = kFieldsBytes;
      break;
    case kColourChange: {
      const auto size = field(unit, at, kChangeSizeBytes);
      if (!size || *size < kChangeSizeBytes) return std::nullopt;
      bytes = *size;
      break;
    }
    default:
      return std::nullopt;
  }
  if (unit.size() - at < bytes) return std::nullopt;
  return bytes;
}

void apply(HdSequence& s, Bytes unit, std::uint8_t command, std::size_t at) {
  switch (command) {
    case kForcedStart:
      s.forcedStart = s.start = true;
      break;
    case kStart:
      s.start = true;
      break;
    case kStop:
      s.stop = true;
      break;
    case kColours:
      s.colours.emplace();
      for (std::size_t i = 0; i < 256; ++i) {
        (*s.colours)[i] = {unit[at + 3 * i], unit[at + 3 * i + 1], unit[at + 3 * i + 2]};
      }
      break;
    case kContrasts:
      s.contrasts.emplace();
      std::copy_n(unit.begin() + static_cast<std::ptrdiff_t>(at), kContrastsBytes,
                  s.contrasts->begin());
      break;
    case kArea:
      s.area = areaAt(unit, at);
      break;
    case kFields:
      s.fields = HdFields{*field(unit, at, 4), *field(unit, at + 4, 4)};
      break;
    default:
      break;  // CHG_COLCON2 is skipped
  }
}

// The commands of the sequence whose header starts at `at`, up to CMD_END.
HdSequence sequenceAt(Bytes unit, std::size_t at) {
  HdSequence s;
  s.delay = *field(unit, at, 2);
  for (std::size_t pos = at + kSequenceHeader; pos < unit.size();) {
    const std::uint8_t command = unit[pos++];
    if (command == kEnd) break;
    const auto bytes = argumentBytes(unit, command, pos);
    if (!bytes) break;
    apply(s, unit, command, pos);
    pos += *bytes;
  }
  return s;
}

// Reads the 8-bit run-length code: bits from the most significant on, nothing past the
// end of the unit.
class BitReader {
 public:
  BitReader(Bytes unit, std::size_t at) : unit_(unit), bit_(std::uint64_t{at} * 8) {}
  bool has(int bits) const { return bit_ + static_cast<std::uint64_t>(bits) <= unit_.size() * 8; }
  std::uint32_t take(int bits) {
    std::uint32_t value = 0;
    for (int i = 0; i < bits; ++i, ++bit_) {
      value = value << 1 | ((unit_[bit_ / 8] >> (7 - bit_ % 8)) & 1u);
    }
    return value;
  }
  void align() { bit_ = (bit_ + 7) / 8 * 8; }

 private:
  Bytes unit_;
  std::uint64_t bit_;
};

struct Run {
  std::uint8_t colour = 0;
  int length = 0;  // 0: to the end of the line
};

// A run: a run flag, a wide-colour flag, the colour in 8 or 2 bits; with the run flag a
// length flag and 2..9 in 3 bits or 10..136 in 7 bits (7 zero bits: the rest of the line).
std::optional<Run> nextRun(BitReader& bits) {
  if (!bits.has(4)) return std::nullopt;
  const bool run = bits.take(1);
  const int colourBits = bits.take(1) ? 8 : 2;
  if (!bits.has(colourBits)) return std::nullopt;
  Run r{static_cast<std::uint8_t>(bits.take(colourBits)), 1};
  if (!run) return r;
  if (!bits.has(1)) return std::nullopt;
  const bool wide = bits.take(1);
  if (!bits.has(wide ? 7 : 3)) return std::nullopt;
  const int length = static_cast<int>(bits.take(wide ? 7 : 3));
  r.length = wide ? (length == 0 ? 0 : length + 9) : length + 2;
  return r;
}

// Decodes the lines first, first + 2, ... of a field into `b`, keeping what falls in it.
void decodeField(Bytes unit, std::uint32_t at, int first, int width, int height, IndexBitmap& b) {
  if (at >= unit.size() || width <= 0) return;
  BitReader bits(unit, at);
  for (int y = first; y < height; y += 2) {
    for (int x = 0; x < width;) {
      const auto run = nextRun(bits);
      if (!run) return;
      const int end = run->length == 0 ? width : std::min(width, x + run->length);
      if (y < b.height) {
        for (int k = x; k < std::min(end, b.width); ++k) {
          b.pixels[static_cast<std::size_t>(y * b.width + k)] = run->colour;
        }
      }
      x = end;
    }
    bits.align();
  }
}

}  // namespace

std::vector<HdSequence> hdSequences(Bytes unit) {
  std::vector<HdSequence> sequences;
  const auto first = field(unit, kTableOffsetAt, 4);
  if (!first) return sequences;
  for (std::size_t at = *first;
       fits(unit, at, kSequenceHeader) && sequences.size() < kMostSequences;) {
    sequences.push_back(sequenceAt(unit, at));
    const std::size_t next = *field(unit, at + 2, 4);
    if (next <= at) break;  // the last points to itself; one pointing back ends the table too
    at = next;
  }
  return sequences;
}

IndexBitmap hdBitmap(Bytes unit, const HdArea& area, const HdFields& fields, int keepWidth,
                     int keepHeight) {
  IndexBitmap b;
  b.width = std::clamp(keepWidth, 0, std::max(area.width(), 0));
  b.height = std::clamp(keepHeight, 0, std::max(area.height(), 0));
  b.pixels.assign(static_cast<std::size_t>(b.width) * static_cast<std::size_t>(b.height), 0);
  decodeField(unit, fields.top, 0, area.width(), area.height(), b);
  decodeField(unit, fields.bottom, 1, area.width(), area.height(), b);
  return b;
}

}  // namespace tessaly
