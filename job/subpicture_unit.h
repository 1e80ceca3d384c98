// The header of a subpicture unit, as the formats for other tools read it: an HD unit
// (8-bit pixels) starts with two zero bytes, then its 32-bit size and the 32-bit offset
// of its control sequences; a DVD-style unit (2-bit pixels) starts with its non-zero
// 16-bit size, then the 16-bit offset. All fields are big-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "catalogue/findings.h"

namespace tessaly {

// The first bytes of a unit, as far as the size fields reach; missing bytes are zero.
struct UnitHead {
  static constexpr std::size_t kBytes = 6;  // HD: two zero bytes and the 32-bit size
  std::array<std::uint8_t, kBytes> bytes{};
  std::size_t count = 0;  // bytes of the unit seen, up to kBytes

  // Takes bytes of the unit until the head is complete.
  void take(const std::uint8_t* data, std::size_t size);
};

// The format whose header `head` starts: two zero bytes name an HD unit.
UnitFormat unitFormat(const UnitHead& head);

// True when the unit's own size field, as `format` places it, equals `length`, the bytes
// the unit has in the stream; false also when the unit is too short to hold the field.
bool sizeFieldAgrees(UnitFormat format, const UnitHead& head, std::uint64_t length);

}  // namespace tessaly
