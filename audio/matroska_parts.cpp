#include "audio/matroska_parts.h"

#include "engine/pts.h"

namespace tessaly {

std::int64_t unitsAfterAnchor(const AudioTimeline& timeline, std::uint64_t pts) {
  if (!timeline.anchorPts) return 0;
  return ticksToUnits(stampDistance(*timeline.anchorPts, pts));
}

std::vector<MkvPart> matroskaParts(const AudioTimeline& timeline, std::int64_t zero) {
  std::vector<MkvPart> parts;
  std::int64_t placedEnd = zero;  // where mkvmerge ends the parts so far, units after the anchor
  for (const AudioPart& part : timeline.parts) {
    const std::int64_t syncMs = unitsToMs(part.start - placedEnd);
    parts.push_back({part.begin, part.end, syncMs});
    placedEnd += syncMs * kUnitsPerMs + part.duration;
  }
  return parts;
}

}  // namespace tessaly
