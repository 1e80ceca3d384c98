// A disc as a folder holding HVDVD_TS/ (and usually ADV_OBJ/): its playlists, their titles
// with their clips, chapters and tracks, the playlist it boots and its main feature. Plain
// records for the command line and any other front end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/disc_files.h"
#include "playlist/title_facts.h"

namespace tessaly {

// A PrimaryAudioVideoClip of a title; times in ms on the disc clock, -1 when unreadable.
struct DiscClip {
  std::string map;                 // the .MAP file its src names
  std::optional<std::string> evo;  // the same-stem EVO file found beside it in HVDVD_TS
  std::int64_t evoSize = 0;
  std::int64_t titleBeginMs = -1;
  // titleTimeBegin exactly, in audio units (audio/audio_time.h: a whole number for a count
  // of either clock), where the clip's audio goes on the title; -1 when unreadable.
  std::int64_t titleBeginUnits = -1;
  std::int64_t titleEndMs = -1;  // exclusive
  std::int64_t clipBeginMs = 0;  // from the clip's first video frame
  bool seamless = false;
};

// An audio or subtitle track of a title, as its clips and its TrackNavigationList give it.
struct DiscTrack {
  int track = 0;
  std::vector<std::optional<int>> streams;  // its streamNumber in each clip; nullopt: absent
  std::string coding;                       // the codec of its MediaAttributeList item
  std::optional<int> channels;              // the item's channels, where it gives them
  std::optional<std::string> language;      // ISO 639-2 as Matroska stores it
  std::vector<std::string> flags;           // forced, hearing_impaired, commentary, ...
  std::string description;
};

struct DiscTitle {
  int number = 0;  // titleNumber, or its place in the playlist
  std::string id;
  std::string name;              // displayName, else id
  std::int64_t durationMs = -1;  // titleDuration; -1 when unreadable
  bool main = false;             // the main feature of the disc
  bool extra = false;            // another title under 10 minutes
  std::vector<DiscClip> clips;   // in title order
  std::vector<ChapterFact> chapters;
  std::vector<DiscTrack> audio;  // by track number
  std::vector<DiscTrack> subtitles;
  std::string defaultLanguage;  // of its title set, as written ("en")
};

struct DiscPlaylist {
  std::string file;   // VPLSTnnn.XPL as the disc spells it
  std::string error;  // why it could not be read; its titles are then empty
  std::vector<DiscTitle> titles;
};

struct Disc {
  std::string path;                     // the disc's folder, or its image
  std::string videoFolder;              // its HVDVD_TS, as the disc spells it
  std::string boot;                     // the highest-numbered playlist with a title with clips
  std::string playerBoot;               // the highest-numbered playlist, which the player boots
  std::vector<DiscPlaylist> playlists;  // the boot playlist first, then the others by number

  // The title marked main, or nullptr when no title qualifies.
  const DiscTitle* mainFeature() const;
};

// The disc at `path`: its folder or any file inside it. Throws "No HD DVD disc at "PATH":
// no HVDVD_TS folder in it or above it". A playlist that cannot be read keeps its error.
Disc readDisc(const std::string& path);

// The disc whose top folder is `root` in `files` (a disc image's "IMAGE.iso"): its playlists
// and EVOs looked for and read there.
Disc readDisc(const DiscFiles& files, const std::string& root);

// The sizes of the title's EVO files added up: what its demux writes.
std::int64_t evoBytes(const DiscTitle& title);

// A duration as H:MM:SS (1:42:27), whole seconds; "no duration" below 0.
std::string durationText(std::int64_t ms);

// Marks the titles of a playlist: the other titles under 10 minutes as extras and, in the
// boot playlist, the main feature: the longest title whose clips all have EVOs (of equal
// ones the larger in EVO bytes, then the first).
void markTitles(std::vector<DiscTitle>& titles, bool boot);

}  // namespace tessaly
