#include "cli/disc_text.h"

#include <algorithm>
#include <cstdio>

namespace tessaly::cli {
namespace {

std::string gigabytes(std::int64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f GB", static_cast<double>(bytes) / 1e9);
  return text;
}

std::string clipFile(const DiscClip& clip) {
  return clip.evo ? *clip.evo : clip.map + " (no EVO)";
}

// The clip's file, padded to `width`, its span on the title, and its EVO's size.
std::string clipLine(const DiscClip& clip, std::size_t width) {
  std::string file = clipFile(clip);
  file.resize(std::max(width, file.size()), ' ');
  std::string line = "    clip     " + file + "  " + durationText(clip.titleBeginMs) + "-" +
                     durationText(clip.titleEndMs);
  if (clip.clipBeginMs != 0) line += "  from " + durationText(clip.clipBeginMs) + " of the clip";
  if (clip.seamless) line += "  seamless";
  if (clip.evo) line += "  " + gigabytes(clip.evoSize);
  return line + "\n";
}

// "stream 2" when every clip carries the track as the same stream, else clip by clip.
std::string streamsText(const DiscTrack& track) {
  std::string each;
  bool same = true;
  for (const auto& stream : track.streams) {
    each += (each.empty() ? "" : ",") + (stream ? std::to_string(*stream) : std::string("-"));
    same = same && stream == track.streams.front();
  }
  if (track.streams.empty()) return "in no clip";
  return same ? "stream " + each.substr(0, each.find(',')) : "streams " + each;
}

std::string trackLine(const char* kind, const DiscTrack& track) {
  std::string line = std::string("    ") + kind + std::to_string(track.track) + "  " +
                     (track.coding.empty() ? "?" : track.coding) + "  " +
                     track.language.value_or("und") + "  " + streamsText(track);
  for (const std::string& flag : track.flags) line += "  " + flag;
  if (!track.description.empty()) line += "  \"" + track.description + "\"";
  return line + "\n";
}

std::string titleHeadline(const DiscTitle& title) {
  std::int64_t bytes = 0;
  for (const DiscClip& clip : title.clips) bytes += clip.evoSize;
  std::string line = "  title " + std::to_string(title.number) + "  " + title.name + "  " +
                     durationText(title.durationMs);
  if (title.main) line += "  MAIN FEATURE";
  if (title.extra) line += "  extra";
  if (!title.id.empty() && title.id != title.name) line += "  (id " + title.id + ")";
  const std::size_t clips = title.clips.size();
  line += "  " + std::to_string(clips) + (clips == 1 ? " clip" : " clips");
  if (bytes > 0) line += ", " + gigabytes(bytes);
  return line + "\n";
}

std::string titleBlock(const DiscTitle& title) {
  std::string text = titleHeadline(title);
  std::size_t width = 0;
  for (const DiscClip& clip : title.clips) width = std::max(width, clipFile(clip).size());
  for (const DiscClip& clip : title.clips) text += clipLine(clip, width);
  for (const ChapterFact& chapter : title.chapters) {
    text += "    chapter  " + durationText(chapter.startMs) + "  " + chapter.name + "\n";
  }
  for (const DiscTrack& track : title.audio) text += trackLine("audio ", track);
  for (const DiscTrack& track : title.subtitles) text += trackLine("subtitle ", track);
  return text;
}

std::string playlistBlock(const DiscPlaylist& playlist, bool boot) {
  std::string text = "\n" + playlist.file + (boot ? "  (boot playlist)" : "") + "\n";
  if (!playlist.error.empty()) return text + "  cannot be read: " + playlist.error + "\n";
  if (playlist.titles.empty()) return text + "  no titles\n";
  for (const DiscTitle& title : playlist.titles) text += titleBlock(title);
  return text;
}

}  // namespace

std::string discText(const Disc& disc) {
  std::string text = "Disc " + disc.path + "\n";
  if (disc.playlists.empty()) return text + "No playlists in ADV_OBJ.\n";
  text += "Boot playlist " + disc.boot;
  if (disc.playerBoot != disc.boot) {
    text += " (the player boots " + disc.playerBoot + ", which has no title with clips)";
  }
  const DiscTitle* main = disc.mainFeature();
  text += "\nMain feature: " +
          (main ? "title " + std::to_string(main->number) + " " + main->name : "none") + "\n";
  for (const DiscPlaylist& playlist : disc.playlists) {
    text += playlistBlock(playlist, playlist.file == disc.boot);
  }
  return text;
}

}  // namespace tessaly::cli
