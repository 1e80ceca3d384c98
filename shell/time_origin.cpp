#include "shell/time_origin.h"

#include <algorithm>

#include "shell/stream_table.h"

namespace tessaly {
namespace {

constexpr std::uint64_t kPtsRange = std::uint64_t{1} << 33;
constexpr std::int64_t kHalfRange = std::int64_t{1} << 32;

void keepSmaller(std::optional<std::int64_t>& smallest, std::int64_t value) {
  smallest = smallest ? std::min(*smallest, value) : value;
}

}  // namespace

std::int64_t stampDistance(std::uint64_t from, std::uint64_t to) {
  const auto ahead = static_cast<std::int64_t>((to - from) % kPtsRange);
  return ahead >= kHalfRange ? ahead - static_cast<std::int64_t>(kPtsRange) : ahead;
}

std::int64_t TimeOrigin::unwrapped(std::uint64_t pts) const {
  return stampDistance(*first_, pts);
}

void TimeOrigin::note(int slot, std::uint64_t pts) {
  if (!first_) first_ = pts % kPtsRange;
  const std::int64_t value = unwrapped(pts);
  keepSmaller(smallestAny_, value);
  if (slot == kVideoSlot) keepSmaller(smallestVideo_, value);
}

std::int64_t TimeOrigin::ticksTo(std::uint64_t pts) const {
  if (!first_) return 0;
  return unwrapped(pts) - smallestVideo_.value_or(*smallestAny_);
}

}  // namespace tessaly
