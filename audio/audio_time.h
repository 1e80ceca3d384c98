// Exact audio time. A unit is 1/141,120,000 s: a whole number of units for one tick of the
// 90 kHz clock (1,568) and for one sample period at every rate the disc's audio codings use
// (the 48 and 44.1 kHz families, 32 kHz and their halves and quarters), so that durations
// add up without rounding however long a track plays.
#pragma once

#include <cstdint>

namespace tessaly {

inline constexpr std::int64_t kUnitsPerSecond = 141'120'000;
inline constexpr std::int64_t kUnitsPerTick = kUnitsPerSecond / 90'000;
inline constexpr std::int64_t kUnitsPerMs = kUnitsPerSecond / 1'000;

// Units that `samples` sample periods at `rate` Hz last; rounded to the nearest unit for a
// rate whose period is not a whole number of units, 0 for no rate.
constexpr std::int64_t sampleUnits(std::int64_t samples, std::int64_t rate) {
  if (rate <= 0) return 0;
  if (kUnitsPerSecond % rate == 0) return samples * (kUnitsPerSecond / rate);
  return (samples * kUnitsPerSecond + rate / 2) / rate;
}

constexpr std::int64_t ticksToUnits(std::int64_t ticks) {
  return ticks * kUnitsPerTick;
}

// `units` in whole milliseconds, the nearest, halves away from zero.
constexpr std::int64_t unitsToMs(std::int64_t units) {
  const std::int64_t half = kUnitsPerMs / 2;
  return (units >= 0 ? units + half : units - half) / kUnitsPerMs;
}

}  // namespace tessaly
