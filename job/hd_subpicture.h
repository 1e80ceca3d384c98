// An HD subpicture unit (8-bit pixels) read as a decoder reads it. The header: two zero
// bytes, the unit's 32-bit size, the 32-bit offset of its display control sequence table;
// then the run-length pixel data of the top and bottom fields; then the table. Each
// sequence: a 16-bit delay (in 1024 ticks of 90 kHz after the unit's PTS), the 32-bit
// offset of the next sequence (the last points to itself) and commands up to FF. Offsets
// count from the unit's first byte; all fields are big-endian. Every offset and size read
// from the unit is checked against the bytes it has before it is used.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tessaly {

// A colour of the unit's table, as SET_COLOR2 gives it.
struct YCrCb {
  std::uint8_t y = 0;
  std::uint8_t cr = 0;
  std::uint8_t cb = 0;
  bool operator==(const YCrCb&) const = default;
};

using HdColours = std::array<YCrCb, 256>;
using HdContrasts = std::array<std::uint8_t, 256>;  // 00 opaque .. FF transparent

// A rectangle of the frame, both edges included, as SET_DAREA2 gives it (12 bits each).
struct HdArea {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  int width() const { return x2 - x1 + 1; }
  int height() const { return y2 - y1 + 1; }
  bool operator==(const HdArea&) const = default;
};

// Where the two fields' pixel data start, as SET_DSPXA2 gives them.
struct HdFields {
  std::uint32_t top = 0;  // the lines 0, 2, 4, ...
  std::uint32_t bottom = 0;
  bool operator==(const HdFields&) const = default;
};

// One display control sequence: when it runs and what its commands set.
struct HdSequence {
  std::uint32_t delay = 0;   // 1024-tick steps after the unit's PTS
  bool forcedStart = false;  // FSTA_DSP
  bool start = false;        // STA_DSP
  bool stop = false;         // STP_DSP
  std::optional<HdColours> colours;
  std::optional<HdContrasts> contrasts;
  std::optional<HdArea> area;
  std::optional<HdFields> fields;
};

// A unit's table is read to at most this many sequences; no real unit comes near.
inline constexpr std::size_t kMostSequences = 1024;

// The unit's sequences in table order, as far as they read: a sequence whose header
// leaves the unit ends the table, as does a next offset that points backwards; a command
// the format does not have, or whose arguments leave the unit, ends its sequence.
std::vector<HdSequence> hdSequences(std::span<const std::uint8_t> unit);

// Pixel indexes, row after row.
struct IndexBitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

// The pixels of the top `keepHeight` lines and left `keepWidth` columns of `area`,
// decoded from the two fields (every line ending on a byte). Pixels the data does not
// reach keep index 0, the background.
IndexBitmap hdBitmap(std::span<const std::uint8_t> unit, const HdArea& area, const HdFields& fields,
                     int keepWidth, int keepHeight);

}  // namespace tessaly
