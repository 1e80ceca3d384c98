// The breaks a demux job's timing found, as the operator reads them: a warning line per
// break (for a stream with many, the first few and one line for the rest), and the records
// of the report's `breaks` lists, which hold every break.
#pragma once

#include <string>
#include <vector>

#include "audio/break_words.h"
#include "audio/job_timing.h"

namespace tessaly {

// Every timed audio stream's breaks (none: an empty list), and video stream 0's
// disagreements when it was checked.
StreamBreaks jobBreaks(const JobTimingResult& timing);

// A break of an audio stream as the log says it: the stream's number and coding.
struct StreamBreak {
  int number = 0;
  std::string codec;
  BreakRecord record;
};

// The stream number of a timed stream's output key (a slot, or a routed audio key).
int streamNumber(int key);

// `record` as a break of `stream`.
StreamBreak streamBreak(const AudioStreamTiming& stream, const BreakRecord& record);

// The breaks of `stream`, one of `timing`'s, in the order met; their times `later` units
// after the job's zero (a title's clip: where the clip begins).
std::vector<StreamBreak> streamBreaks(const JobTimingResult& timing,
                                      const AudioStreamTiming& stream, std::int64_t later = 0);

// The warnings a stream's breaks get at most, one line each; a line for the rest follows.
inline constexpr std::size_t kShownBreaks = 10;

// The warning lines of one stream's breaks, in the order given: one per break up to
// kShownBreaks, then "Warning: audio stream N (CODEC) has M more breaks; the Matroska file
// keeps them all." (of the last shown's stream).
std::vector<std::string> audioBreakLines(const std::vector<StreamBreak>& breaks);

// The warning lines of the breaks of `timing`: the audio streams' (audioBreakLines) in slot
// order, then one per disagreement of video stream 0's.
std::vector<std::string> breakLines(const JobTimingResult& timing);

}  // namespace tessaly
