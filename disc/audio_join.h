// Where a clip's timed audio joins its track's on the title. Each clip is timed on its own,
// so the break at the join is found here: a gap when the clip's first frame starts later
// than the title's audio so far ends (by more than half a frame), an overlap when earlier.
// Of an overlap the clip's frames that the title plays already are left out, as the clock
// leaves out the later copy within a stream, so that the title's time line never runs
// backwards.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "audio/audio_clock.h"
#include "engine/codecs.h"

namespace tessaly {

// The break between `title`'s parts and `clip`'s (units after the title's start; the
// clip's in its own bytes, which its output `path` of `coding` holds); none when the clip plays on
// where the title ends, or one of them has no parts. Of an overlap the frames of the clip's first
// part that start before the title's end (less half a frame), and those after them up to a frame a
// decoder can start at, are cut off the part and counted in the break (none when no frame of the
// part is left: it is kept whole).
std::optional<AudioBreak> joinClipAudio(const std::vector<AudioPart>& title,
                                        std::vector<AudioPart>& clip, const std::string& path,
                                        AudioCoding coding);

}  // namespace tessaly
