#include "audio/segment_join.h"

#include <cstdlib>

#include "engine/pts.h"

namespace tessaly {
namespace {

constexpr std::uint64_t kStampMask = (std::uint64_t{1} << 33) - 1;

std::uint64_t moved(std::uint64_t pts, std::int64_t offset) {
  return (pts + static_cast<std::uint64_t>(offset)) & kStampMask;
}

}  // namespace

std::vector<std::int64_t> segmentOffsets(const std::vector<SegmentVideo>& segments) {
  std::vector<std::int64_t> offsets;
  const SegmentVideo* previous = nullptr;  // the last segment with timed video
  for (const SegmentVideo& segment : segments) {
    std::int64_t offset = offsets.empty() ? 0 : offsets.back();
    if (previous && segment.firstPts) {
      const std::uint64_t end = moved(previous->endPts, offset);
      const std::int64_t off = stampDistance(end, moved(*segment.firstPts, offset));
      if (std::abs(off) * 2 > previous->frameTicks) offset -= off;
    }
    if (segment.firstPts) previous = &segment;
    offsets.push_back(offset);
  }
  return offsets;
}

}  // namespace tessaly
