// What a break in a stream's time line says to the operator: the warning line, and the
// plain record of the report's `breaks` list (`at_ms`, `jump_ms`, `frames_dropped`); for
// audio, and for video whose PTS disagree with its pictures' timing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "audio/audio_clock.h"
#include "audio/mpeg2_timing.h"

namespace tessaly {

struct BreakRecord {
  std::int64_t atMs = 0;    // after the zero (video stream 0's first PTS), rounded
  std::int64_t jumpMs = 0;  // above 0 a gap, below an overlap
  std::uint64_t framesDropped = 0;

  bool operator==(const BreakRecord&) const = default;
};

// The breaks of a job's timed streams, by stream-table slot, in the order met.
using StreamBreaks = std::map<int, std::vector<BreakRecord>>;

// The record of `b`, its time counted from `zero` (units after the anchor).
BreakRecord breakRecord(const AudioBreak& b, std::int64_t zero);

// "Warning: audio stream N (CODEC) has a gap of J ms at H:MM:SS.mmm; the Matroska file keeps
// it." or "... has an overlap of J ms at ...; K frames left out."
std::string breakWarning(int number, const std::string& codec, const BreakRecord& record);

// "Warning: audio stream N (CODEC) has M more breaks; the Matroska file keeps them all."
std::string moreBreaksWarning(int number, const std::string& codec, std::size_t more);

// The record of a video disagreement of `timing`, its time counted from `zeroPts`; no
// frames are left out of video.
BreakRecord videoBreakRecord(const VideoTiming& timing, const VideoDisagreement& d,
                             std::uint64_t zeroPts);

// "Warning: video stream N (CODEC) has time stamps that jump ahead by J ms at H:MM:SS.mmm;
// the Matroska file plays its pictures on without the jump." ("jump back" when J < 0).
std::string videoBreakWarning(int number, const std::string& codec, const BreakRecord& record);

}  // namespace tessaly
