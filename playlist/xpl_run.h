// The state of one "Read XPL" run: the playlist's display name and one destination
// per lookup site. A site keeps the value it found last in the run, so a tag that
// lacks the attribute yields the previous tag's value.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace tessaly {

// The lookups of the checks on each scanned tag.
struct AttributeSites {
  std::string displayName;
  std::string videoIndex;
  std::string videoCodec;
  std::string audioChannels;
  std::string audioCodec;
  std::string audioIndex;
  std::string subIndex;
  std::string subCodec;
};

// The lookups of one stream kind in the title phase (audio or subtitle).
struct StreamSites {
  std::string number;  // track (video) or streamNumber (audio, subtitle)
  std::string mediaAttr;
  std::string description;
  // Numbers outside 1..16 already labelled; they own no stream-table slot.
  std::set<std::int32_t> unslotted;
};

// The lookups of the title phase.
struct TitleSites {
  std::string titleName;
  std::string titleDuration;
  StreamSites video;
  StreamSites audio;
  StreamSites subtitle;
  std::string chapterBegin;
  std::string chapterName;
};

struct XplRun {
  std::string PlaylistName;  // the display name of the playlist, read by the title phase
  AttributeSites checks;
  TitleSites title;
};

}  // namespace tessaly
