#include "tools/subpicture_units.h"

#include <algorithm>
#include <array>
#include <functional>

#include "tools/caption_bitmap.h"

namespace tessaly::tools {
namespace {

constexpr int kFrameWidth = 1920;
constexpr int kFrameHeight = 1080;
constexpr int kBottomMargin = 96;

// Control sequence commands.
constexpr std::uint8_t kForcedStartDisplay = 0x00;
constexpr std::uint8_t kStartDisplay = 0x01;
constexpr std::uint8_t kStopDisplay = 0x02;
constexpr std::uint8_t kSetColours = 0x03;   // DVD: four palette indexes
constexpr std::uint8_t kSetContrast = 0x04;  // DVD: four alpha levels
constexpr std::uint8_t kSetArea = 0x05;      // DVD: x1, x2, y1, y2 in 12 bits each
constexpr std::uint8_t kSetOffsets = 0x06;   // DVD: the fields' 16-bit offsets
constexpr std::uint8_t kHdPalette = 0x83;    // HD: 256 entries of Y, Cr, Cb
constexpr std::uint8_t kHdAlpha = 0x84;      // HD: 256 transparencies, 0 opaque
constexpr std::uint8_t kHdArea = 0x85;       // HD: as kSetArea, for 8-bit pixels
constexpr std::uint8_t kHdOffsets = 0x86;    // HD: the fields' 32-bit offsets
constexpr std::uint8_t kEndOfSequence = 0xFF;

// DVD pixels 0..3 are clear, ink, outline, unused; the colours and contrasts name them
// from the highest: emphasis 2, emphasis 1 (outline), pattern (ink), background.
constexpr std::array<std::uint8_t, 2> kDvdColours{0x00, 0xF0};   // black; white ink, black
constexpr std::array<std::uint8_t, 2> kDvdContrast{0x0F, 0xF0};  // clear background only

// HD pixels: the 8-bit form for ink and outline, the 2-bit form for the background.
constexpr std::uint8_t kHdClear = 0x00;
constexpr std::uint8_t kHdInk = 0xF0;
constexpr std::uint8_t kHdOutline = 0x10;

using Bytes = std::vector<std::uint8_t>;

class BitWriter {
 public:
  explicit BitWriter(Bytes& out) : out_(out) {}
  void put(std::uint32_t value, int bits) {
    for (int bit = bits - 1; bit >= 0; --bit) {
      if (used_ % 8 == 0) out_.push_back(0);
      out_.back() |= static_cast<std::uint8_t>(((value >> bit) & 1) << (7 - used_ % 8));
      ++used_;
    }
  }
  void align() { used_ = 0; }  // the next bit starts a new byte

 private:
  Bytes& out_;
  int used_ = 0;
};

// A run of `length` pixels of `colour`; `toEnd`: it fills the rest of the line.
using RunCoder = std::function<void(BitWriter&, int length, std::uint8_t colour, bool toEnd)>;

// 2-bit runs in 4, 8, 12 or 16 bits: the length (up to 255) above the colour; a zero
// length fills the line.
void dvdRun(BitWriter& bits, int length, std::uint8_t colour, bool toEnd) {
  if (toEnd) return bits.put(colour, 16);
  for (; length > 0; length -= 255) {
    const int n = std::min(length, 255);
    bits.put(static_cast<std::uint32_t>(n << 2 | colour), n < 4    ? 4
                                                          : n < 16 ? 8
                                                          : n < 64 ? 12
                                                                   : 16);
  }
}

// 8-bit runs: a run flag, a wide-colour flag, the colour in 2 or 8 bits, then a length
// of 2..9 in 3 bits or 10..136 in 7 bits; a 7-bit zero fills the line.
void hdRun(BitWriter& bits, int length, std::uint8_t colour, bool toEnd) {
  const auto pixel = [&](bool run) {
    bits.put(run, 1);
    bits.put(colour > 3, 1);
    bits.put(colour, colour > 3 ? 8 : 2);
  };
  if (toEnd) {
    pixel(true);
    return bits.put(1u << 7, 8);
  }
  for (; length > 0; length -= 136) {
    const int n = std::min(length, 136);
    pixel(n > 1);
    if (n > 9) bits.put(static_cast<std::uint32_t>(1 << 7 | (n - 9)), 8);
    if (n > 1 && n <= 9) bits.put(static_cast<std::uint32_t>(n - 2), 4);
  }
}

// The lines of one field (every other line from `first`), each line ending on a byte.
void encodeField(Bytes& out, const Bitmap& b, int first, const std::array<std::uint8_t, 3>& colours,
                 const RunCoder& run) {
  BitWriter bits(out);
  for (int y = first; y < b.height; y += 2) {
    for (int x = 0; x < b.width;) {
      int length = 1;
      while (x + length < b.width && b.at(x + length, y) == b.at(x, y)) ++length;
      const std::uint8_t colour = colours[static_cast<std::size_t>(b.at(x, y))];
      run(bits, length, colour, x + length == b.width);
      x += length;
    }
    bits.align();
  }
}

void put(Bytes& out, std::uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void set(Bytes& out, std::size_t at, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out[at + static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(value >> (8 * (bytes - 1 - i)));
  }
}

void putArea(Bytes& out, const Area& a) {
  put(out, static_cast<std::uint64_t>(a.x1) << 12 | static_cast<std::uint64_t>(a.x2), 3);
  put(out, static_cast<std::uint64_t>(a.y1) << 12 | static_cast<std::uint64_t>(a.y2), 3);
}

// A control sequence's delay counts in units of 1024 ticks of 90 kHz.
std::uint64_t delaySteps(std::uint32_t ms) {
  return (std::uint64_t{ms} * 90 + 512) / 1024;
}

// An HD contrast table: `level` for ink and outline, the rest transparent.
Bytes hdContrasts(std::uint8_t level) {
  Bytes out{kHdAlpha};
  for (int i = 0; i < 256; ++i) out.push_back(i == kHdInk || i == kHdOutline ? level : 0xFF);
  return out;
}

// A sequence after the start: its delay and its commands.
struct Later {
  std::uint64_t delay;
  Bytes commands;
};

// How a unit kind writes its parts: the width of its size and offset fields (2 or 4
// bytes), whether two zero bytes lead, its pixel values for clear, ink and outline, its
// run coder and the start sequence's commands (appended once the fields' offsets are known).
struct UnitKind {
  int field;
  bool zeroLead;
  std::array<std::uint8_t, 3> colours;
  RunCoder run;
  std::function<void(Bytes&, std::size_t, std::size_t)> startCommands;
};

// The control table from the start sequence (`start` its start command) through the
// `later` sequences to the stop sequence `durationMs` after the unit's PTS.
void putTable(Bytes& out, const UnitKind& kind, std::size_t even, std::size_t odd,
              std::uint8_t start, const std::vector<Later>& later, std::uint32_t durationMs) {
  put(out, 0, 2);  // shown at the unit's PTS
  std::size_t next = out.size();
  put(out, 0, kind.field);
  kind.startCommands(out, even, odd);
  out.push_back(start);
  out.push_back(kEndOfSequence);
  for (const Later& sequence : later) {
    set(out, next, out.size(), kind.field);
    put(out, sequence.delay, 2);
    next = out.size();
    put(out, 0, kind.field);
    out.insert(out.end(), sequence.commands.begin(), sequence.commands.end());
    out.push_back(kEndOfSequence);
  }
  const std::size_t stop = out.size();
  set(out, next, stop, kind.field);
  put(out, delaySteps(durationMs), 2);
  put(out, stop, kind.field);  // the last sequence points to itself
  out.push_back(kStopDisplay);
  out.push_back(kEndOfSequence);
}

// The parts both unit kinds share: header, the two fields, the control table.
Bytes unit(const Bitmap& b, std::uint32_t durationMs, const UnitKind& kind,
           std::uint8_t start = kStartDisplay, const std::vector<Later>& later = {}) {
  const std::size_t header = kind.zeroLead ? 2 : 0;
  Bytes out(header + 2 * static_cast<std::size_t>(kind.field), 0);  // then size, table offset
  const std::size_t even = out.size();
  encodeField(out, b, 0, kind.colours, kind.run);
  const std::size_t odd = out.size();
  encodeField(out, b, 1, kind.colours, kind.run);
  set(out, header + static_cast<std::size_t>(kind.field), out.size(), kind.field);
  putTable(out, kind, even, odd, start, later, durationMs);
  set(out, header, out.size(), kind.field);
  return out;
}

}  // namespace

Area captionArea(const std::string& text) {
  const Bitmap b = drawCaption(text);
  const int x1 = (kFrameWidth - b.width) / 2;
  const int y1 = kFrameHeight - kBottomMargin - b.height;
  return {x1, y1, x1 + b.width - 1, y1 + b.height - 1};
}

Bytes dvdUnit(const std::string& text, std::uint32_t durationMs, bool forced) {
  const Area area = captionArea(text);
  const auto startCommands = [&](Bytes& out, std::size_t even, std::size_t odd) {
    out.push_back(kSetColours);
    out.insert(out.end(), kDvdColours.begin(), kDvdColours.end());
    out.push_back(kSetContrast);
    out.insert(out.end(), kDvdContrast.begin(), kDvdContrast.end());
    out.push_back(kSetArea);
    putArea(out, area);
    out.push_back(kSetOffsets);
    put(out, even, 2);
    put(out, odd, 2);
  };
  return unit(drawCaption(text), durationMs, {2, false, {0, 1, 2}, dvdRun, startCommands},
              forced ? kForcedStartDisplay : kStartDisplay);
}

std::uint8_t fadeContrast(int step, int steps) {
  return static_cast<std::uint8_t>(0xFF - 0xFF * (step + 1) / (steps + 1));
}

Bytes hdUnit(const std::string& text, std::uint32_t durationMs, const HdEffects& effects) {
  return hdUnit(drawCaption(text), captionArea(text), durationMs, effects);
}

Bytes hdUnit(const Bitmap& bitmap, const Area& area, std::uint32_t durationMs,
             const HdEffects& effects) {
  std::vector<Later> fade;
  for (int step = 1; step <= effects.fadeSteps; ++step) {
    fade.push_back({delaySteps(effects.fadeStepMs * static_cast<std::uint32_t>(step)),
                    hdContrasts(fadeContrast(step, effects.fadeSteps))});
  }
  const std::uint8_t first = effects.fadeSteps > 0 ? fadeContrast(0, effects.fadeSteps) : 0x00;
  const auto startCommands = [&](Bytes& out, std::size_t even, std::size_t odd) {
    out.push_back(kHdPalette);
    for (int i = 0; i < 256; ++i) {
      if (i == kHdInk) {
        out.insert(out.end(), effects.ink.begin(), effects.ink.end());
      } else {
        out.insert(out.end(), {16, 128, 128});  // black: Y, Cr, Cb
      }
    }
    const Bytes contrasts = hdContrasts(first);
    out.insert(out.end(), contrasts.begin(), contrasts.end());
    out.push_back(kHdArea);
    putArea(out, area);
    out.push_back(kHdOffsets);
    put(out, even, 4);
    put(out, odd, 4);
  };
  return unit(bitmap, durationMs, {4, true, {kHdClear, kHdInk, kHdOutline}, hdRun, startCommands},
              effects.forced ? kForcedStartDisplay : kStartDisplay, fade);
}

}  // namespace tessaly::tools
