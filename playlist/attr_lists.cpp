#include "playlist/attr_lists.h"

#include "playlist/attr_value.h"

namespace tessaly {
namespace {

// Sets entry 1..8 of a list; the lists hold 8 entries and another index sets nothing.
void setEntry(std::array<std::string, 8>& list, std::int32_t index, const std::string& text) {
  if (index >= 1 && index <= static_cast<std::int32_t>(list.size())) {
    list[static_cast<std::size_t>(index - 1)] = text;
  }
}

bool contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

std::string attrEntry(const std::array<std::string, 8>& list, std::int32_t index) {
  if (index < 1 || index > static_cast<std::int32_t>(list.size())) return {};
  return list[static_cast<std::size_t>(index - 1)];
}

void checkTag(AttrLists& lists, XplRun& run, const std::string& tag) {
  auto& sites = run.checks;
  if (contains(tag, "Playlist")) {
    run.PlaylistName = AttrValue(tag, "displayName", sites.displayName);
  }
  if (contains(tag, "VideoAttributeItem")) {
    const auto index = StrToInt(AttrValue(tag, "index", sites.videoIndex));
    setEntry(lists.video, index, AttrValue(tag, "codec", sites.videoCodec));
  }
  if (contains(tag, "AudioAttributeItem")) {
    const std::string channels = AttrValue(tag, "channels", sites.audioChannels);
    std::string codec = AttrValue(tag, "codec", sites.audioCodec);
    if (!channels.empty()) codec += "." + channels + "ch";
    setEntry(lists.audio, StrToInt(AttrValue(tag, "index", sites.audioIndex)), codec);
  }
  if (contains(tag, "SubpictureAttributeItem")) {
    const auto index = StrToInt(AttrValue(tag, "index", sites.subIndex));
    setEntry(lists.sub, index, AttrValue(tag, "codec", sites.subCodec));
  }
}

}  // namespace tessaly
