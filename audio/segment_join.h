// Where each segment of a job (FEATURE_1.EVO, FEATURE_2.EVO ...) sits on the first one's
// time line. Across a seamless join the PTS go on; when a later segment's time base starts
// again (its video stream 0 does not start where the previous segment's ended), its time
// line is put back in line with the video.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tessaly {

// What a segment's video stream 0 tells of its time base (90 kHz, 33-bit PTS).
struct SegmentVideo {
  std::optional<std::uint64_t> firstPts;  // its smallest PTS; none: no timed video
  std::uint64_t endPts = 0;               // where its last picture ends
  std::int64_t frameTicks = 0;            // one picture's duration
};

// For each segment, the ticks to add to its PTS (modulo 2^33): 0 for the first; for a later
// one the previous segment's, when its video starts within half a frame of where that
// segment's video ended, else what makes it start there. A segment without timed video
// keeps the previous segment's.
std::vector<std::int64_t> segmentOffsets(const std::vector<SegmentVideo>& segments);

}  // namespace tessaly
