// What "Read XPL" learns from the playlist beside its title phase: every
// title, and for the title that plays the chosen EVO file its streams' languages and its
// chapters. Plain records for the report, the chapter files and the window.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/stream_slots.h"

namespace tessaly {

// The playlist counts a title's audio and subtitle streams (and its video tracks) from 1,
// the EVO file and its stream boxes from 0.
constexpr std::int64_t evoNumber(std::int32_t playlistNumber) {
  return std::int64_t{playlistNumber} - 1;
}

struct ChapterFact {
  std::int64_t startMs = 0;
  std::string name;  // its displayName, or "Chapter NN" (its 1-based number) without one
};

// A clip of a title; a PrimaryAudioVideoClip also gives its span on the title's clock.
struct ClipFact {
  std::string src;
  std::int64_t beginMs = -1;  // titleTimeBegin; -1 when not given or not readable
  std::int64_t endMs = -1;    // titleTimeEnd
};

// An audio or subtitle stream of a title, by the playlist's streamNumber.
struct TrackFact {
  std::string language;   // from langcode, "en:00" giving "en"; empty when unknown
  std::string extension;  // what follows it ("09": subtitles shown forced); empty for none
  std::string description;
  std::optional<int> channels;  // audio: its media attribute item's, where it gives them
};

// Langcode extensions that the Matroska file's flags follow: a normal audio track (as
// unspecified ones are taken), subtitles that the player shows also when none are chosen.
inline constexpr std::string_view kNormalAudio = "01";
inline constexpr std::string_view kUnspecified = "00";
inline constexpr std::string_view kForcedSubtitles = "09";

struct TitleFacts {
  int number = 0;  // titleNumber, or the title's place in the playlist
  std::string id;
  std::string name;              // displayName
  std::string duration;          // titleDuration as written
  std::int64_t durationMs = -1;  // -1 when it cannot be read
  std::vector<ClipFact> clips;   // in playlist order
  std::vector<ChapterFact> chapters;
  std::map<std::int32_t, TrackFact> audio;  // by streamNumber (the EVO's number + 1)
  std::map<std::int32_t, TrackFact> subtitles;
  std::string defaultLanguage;  // of its title set
};

struct PlaylistFacts {
  std::string file;      // full path of the playlist; empty before a "Read XPL"
  std::string baseName;  // the BaseName its title was looked for by
  std::vector<TitleFacts> titles;
  int chosen = -1;  // the index of the title that plays that EVO file; -1: none

  // The title that plays the EVO file of base name `baseName`, when it was looked for by
  // that name; nullptr otherwise.
  const TitleFacts* titleFor(const std::string& baseName) const;
};

// The title's facts of stream `number` (as the EVO counts) of a group: audio and subtitles
// only; nullptr when the title has none.
const TrackFact* trackFact(const TitleFacts& title, StreamGroup group, int number);

// A language as the tools of the field take it: an ISO 639 code of two or three lowercase
// letters.
bool languageCode(const std::string& text);

}  // namespace tessaly
