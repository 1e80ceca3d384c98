// Time stamps of the program stream: 33-bit counts of a 90 kHz clock that wrap. Every
// distance between two of them, and every conversion to milliseconds, is made here.
#pragma once

#include <cstdint>

namespace tessaly {

constexpr std::uint64_t kPtsRange = std::uint64_t{1} << 33;  // a PTS has 33 bits
constexpr std::int64_t kTicksPerMs = 90;                     // the clock's 90 kHz

// Ticks from `from` to `to`, two time stamps, the shorter way round the wrap:
// -2^32 .. 2^32 - 1.
constexpr std::int64_t stampDistance(std::uint64_t from, std::uint64_t to) {
  constexpr std::int64_t kHalfRange = std::int64_t{1} << 32;
  const auto ahead = static_cast<std::int64_t>((to - from) % kPtsRange);
  return ahead >= kHalfRange ? ahead - static_cast<std::int64_t>(kPtsRange) : ahead;
}

// The time stamp `ticks` after `stamp` (before it when negative), wrapped into 33 bits.
constexpr std::uint64_t stampAfter(std::uint64_t stamp, std::int64_t ticks) {
  return (stamp + static_cast<std::uint64_t>(ticks)) % kPtsRange;
}

// Ticks in milliseconds, rounded to the nearest, halves away from zero.
constexpr std::int64_t roundedMs(std::int64_t ticks) {
  constexpr std::int64_t kHalf = kTicksPerMs / 2;
  return (ticks >= 0 ? ticks + kHalf : ticks - kHalf) / kTicksPerMs;
}

}  // namespace tessaly
