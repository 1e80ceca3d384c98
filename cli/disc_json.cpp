#include "cli/disc_json.h"

#include <nlohmann/json.hpp>

namespace tessaly::cli {
namespace {

using Json = nlohmann::ordered_json;

template <typename T>
Json orNull(const std::optional<T>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json milliseconds(std::int64_t ms) {
  return ms < 0 ? Json(nullptr) : Json(ms);
}

Json clipJson(const DiscClip& clip) {
  return {{"map", clip.map},
          {"evo", orNull(clip.evo)},
          {"evo_size", clip.evo ? Json(clip.evoSize) : Json(nullptr)},
          {"title_begin_ms", milliseconds(clip.titleBeginMs)},
          {"title_end_ms", milliseconds(clip.titleEndMs)},
          {"clip_begin_ms", milliseconds(clip.clipBeginMs)},
          {"seamless", clip.seamless}};
}

// "stream": the track's stream in the first clip that has it; "streams": clip by clip.
Json trackJson(const DiscTrack& track) {
  Json streams = Json::array();
  std::optional<int> first;
  for (const auto& stream : track.streams) {
    streams.push_back(orNull(stream));
    if (!first) first = stream;
  }
  return {{"track", track.track},
          {"stream", orNull(first)},
          {"streams", streams},
          {"coding", track.coding},
          {"language", orNull(track.language)},
          {"flags", track.flags},
          {"description", track.description}};
}

Json titleJson(const DiscTitle& title) {
  Json clips = Json::array();
  for (const DiscClip& clip : title.clips) clips.push_back(clipJson(clip));
  Json chapters = Json::array();
  for (const ChapterFact& chapter : title.chapters) {
    chapters.push_back({{"start_ms", chapter.startMs}, {"name", chapter.name}});
  }
  Json audio = Json::array();
  for (const DiscTrack& track : title.audio) audio.push_back(trackJson(track));
  Json subtitles = Json::array();
  for (const DiscTrack& track : title.subtitles) subtitles.push_back(trackJson(track));
  return {{"number", title.number}, {"id", title.id},
          {"name", title.name},     {"duration_ms", milliseconds(title.durationMs)},
          {"main", title.main},     {"extra", title.extra},
          {"clips", clips},         {"chapters", chapters},
          {"audio", audio},         {"subtitles", subtitles}};
}

Json playlistJson(const DiscPlaylist& playlist) {
  Json json = {{"file", playlist.file}};
  if (!playlist.error.empty()) json["error"] = playlist.error;
  Json titles = Json::array();
  for (const DiscTitle& title : playlist.titles) titles.push_back(titleJson(title));
  json["titles"] = titles;
  return json;
}

Json nameOrNull(const std::string& name) {
  return name.empty() ? Json(nullptr) : Json(name);
}

}  // namespace

std::string discJson(const Disc& disc) {
  Json playlists = Json::array();
  for (const DiscPlaylist& playlist : disc.playlists) playlists.push_back(playlistJson(playlist));
  const Json json = {{"disc", disc.path},
                     {"boot", nameOrNull(disc.boot)},
                     {"player_boots", nameOrNull(disc.playerBoot)},
                     {"playlists", playlists}};
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace tessaly::cli
