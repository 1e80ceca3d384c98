#include "playlist/title_facts.h"

#include <algorithm>

namespace tessaly {

const TitleFacts* PlaylistFacts::titleFor(const std::string& name) const {
  if (chosen < 0 || name != baseName) return nullptr;
  return &titles.at(static_cast<std::size_t>(chosen));
}

const TrackFact* trackFact(const TitleFacts& title, StreamGroup group, int number) {
  if (group == StreamGroup::Video) return nullptr;
  const auto& tracks = group == StreamGroup::Audio ? title.audio : title.subtitles;
  for (const auto& [stream, fact] : tracks) {
    if (evoNumber(stream) == number) return &fact;
  }
  return nullptr;
}

bool languageCode(const std::string& text) {
  return (text.size() == 2 || text.size() == 3) &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

}  // namespace tessaly
