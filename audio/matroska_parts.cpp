#include "audio/matroska_parts.h"

#include <vector>

#include "engine/pts.h"

namespace tessaly {

std::int64_t unitsAfterAnchor(const AudioTimeline& timeline, std::uint64_t pts) {
  if (!timeline.anchorPts) return 0;
  return ticksToUnits(stampDistance(*timeline.anchorPts, pts));
}

namespace {

bool small(const AudioPart& part) {
  return part.end - part.begin < kMinPartBytes;
}

// The parts, each small one joined to the one before or after it where their bytes meet.
std::vector<AudioPart> filesOf(const std::vector<AudioPart>& parts) {
  std::vector<AudioPart> files;
  for (const AudioPart& part : parts) {
    if (!files.empty() && files.back().end == part.begin && (small(files.back()) || small(part))) {
      files.back().end = part.end;
      files.back().duration += part.duration;  // played on without the break
      files.back().frames += part.frames;
      continue;
    }
    files.push_back(part);
  }
  // One that no neighbour's bytes meet is left out: better its few frames than the film.
  if (files.size() > 1) std::erase_if(files, small);
  return files;
}

}  // namespace

std::vector<MkvPart> matroskaParts(const AudioTimeline& timeline, std::int64_t zero) {
  std::vector<MkvPart> parts;
  std::int64_t placedEnd = zero;  // where mkvmerge ends the parts so far, units after the anchor
  for (const AudioPart& part : filesOf(timeline.parts)) {
    const std::int64_t syncMs = unitsToMs(part.start - placedEnd);
    parts.push_back({part.begin, part.end, syncMs});
    placedEnd += syncMs * kUnitsPerMs + part.duration;
  }
  return parts;
}

}  // namespace tessaly
