// What mkvmerge needs to play every frame of an audio stream at its disc time: the stream
// cut at its breaks into parts, each a file of the raw output's bytes, appended to the
// track with "+" and a --sync of its own. mkvmerge (v74, measured) plays an appended file
// from where the file before it ends, moved by that file's --sync, in whole milliseconds;
// the first file's --sync is the track's delay.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/audio_clock.h"

namespace tessaly {

struct MkvPart {
  std::uint64_t begin = 0;  // the stream bytes [begin, end) the part's file holds
  std::uint64_t end = 0;
  std::int64_t syncMs = 0;  // its --sync 0:syncMs
};

// Units after the time line's anchor to `pts` (a 33-bit PTS of the same job, such as video
// stream 0's first): the zero of the stream's delay and of the times of its breaks.
std::int64_t unitsAfterAnchor(const AudioTimeline& timeline, std::uint64_t pts);

// mkvmerge recognises a raw audio file by its first frames: a part's file smaller than
// this (measured: 4,000 bytes of 640 kb/s AC-3, 2,000 of TrueHD) fails the whole call.
inline constexpr std::uint64_t kMinPartBytes = 16 * 1024;

// The parts of `timeline` with the --sync that starts each at its disc time, the first
// after `zero` (units after the anchor). A part of fewer than kMinPartBytes goes on in the
// file of the part before it (or takes the next one into its own) when their bytes follow
// each other, its few frames then off by its break; one between frames left out on both
// sides is left out as well, unless it is the stream's only part. Each sync is rounded against
// where mkvmerge puts the end of the part before, with that part's rounded sync, so roundings never
// add up: every part starts within half a millisecond of its time. Frames before the zero are
// dropped by mkvmerge (a Matroska track starts at 0). An untimed stream is one part.
std::vector<MkvPart> matroskaParts(const AudioTimeline& timeline, std::int64_t zero);

}  // namespace tessaly
