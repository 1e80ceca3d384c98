// A track's langcode "xx:NN" as the tools of the field take it: the ISO 639-1 code as the
// ISO 639-2 code Matroska stores, and the extension NN as flags.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/stream_slots.h"

namespace tessaly {

struct TrackLanguage {
  std::optional<std::string> language;  // nullopt for no ISO 639 code
  std::vector<std::string> flags;       // from the extension, for the group's tracks
};

// Reads "fr:09" of a subtitle track as "fre" and {"forced"}; audio and subtitles (Sub)
// have their own extensions.
TrackLanguage trackLanguage(const std::string& langcode, StreamGroup group);

}  // namespace tessaly
