#include "engine/time_origin.h"

#include <algorithm>

#include "engine/pts.h"
#include "engine/stream_slots.h"

namespace tessaly {
namespace {

void keepSmaller(std::optional<std::int64_t>& smallest, std::int64_t value) {
  smallest = smallest ? std::min(*smallest, value) : value;
}

}  // namespace

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
