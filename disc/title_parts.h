// How a clip's output joins its track's output of the whole title. Streams that play on
// from where their last part ended (video, audio, raw units) join byte after byte; the
// timed subtitle forms carry times counted from their own clip's first video picture,
// which are moved onto the title's time line: a PGS display set's time stamp, a VobSub
// index line's time and its position in the joined NAME.sub.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/audio_clock.h"
#include "job/output_forms.h"
#include "platform/files.h"

namespace tessaly {

// Where a part goes on the title: its clip's time on the title, and for a VobSub index the
// bytes of the title's NAME.sub before this clip's. The first part of an output keeps its
// index's header, the later ones give only their units' lines.
struct PartPlace {
  std::int64_t offsetMs = 0;
  std::uint64_t streamBytes = 0;
  bool first = true;
};

// Appends the part `path`, of form `form`, to `output`; returns the bytes written. A PGS
// part that ends inside a segment throws "PATH is no PGS file".
std::uint64_t appendPart(OutputFile& output, const std::string& path, FileForm form,
                         const PartPlace& place);

// Puts a clip's raw audio parts (in its own bytes, on the title's time line) after
// `title`'s, the parts of the clips before: `bytesBefore` bytes into the title's output. A
// clip without parts leaves the whole track untimed (`title` empty), as its bytes would be
// in no part.
void placeAudioParts(std::vector<AudioPart>& title, const std::vector<AudioPart>& clip,
                     std::uint64_t bytesBefore);

}  // namespace tessaly
