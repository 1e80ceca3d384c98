// The breaks a demux job's timing found, as the operator reads them: one warning line per
// break, and the records of the report's `breaks` lists.
#pragma once

#include <string>
#include <vector>

#include "audio/break_words.h"
#include "audio/job_timing.h"

namespace tessaly {

// Every timed audio stream's breaks (none: an empty list), and video stream 0's
// disagreements when it was checked.
StreamBreaks jobBreaks(const JobTimingResult& timing);

// One warning line per break of `timing`: the audio streams' in slot order, then video
// stream 0's.
std::vector<std::string> breakLines(const JobTimingResult& timing);

}  // namespace tessaly
