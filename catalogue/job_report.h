// The report of the last "Read EVO" or "Demux" as plain records: the input, every stream
// found with its figures, delay and playlist language, the playlist's title and the
// warnings. The report writer and the window's tooltips read it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "session/session.h"

namespace tessaly {

struct StreamEntry {
  int slot = 0;
  std::string box;   // cbVideo0, cbAudio03, ...; empty for a slot without a box
  std::string kind;  // "video", "audio" or "subpicture"
  int number = 0;
  std::string codec;              // as the warnings name it: DD+, DTS HD, VC-1, ...
  std::vector<std::uint8_t> ids;  // the identifying values met, in the order first met
  std::string caption;            // the caption its output is named with, or "Read EVO" gives
  std::string output;             // the output file written; empty for none
  std::uint64_t packets = 0;
  std::uint64_t bytes = 0;
  std::optional<std::uint64_t> units;    // subpicture streams: one per packet with a PTS
  std::optional<std::int64_t> firstPts;  // the smallest PTS (33 bits)
  std::optional<std::int64_t> lastPts;   // the largest, unwrapped from the smallest
  std::optional<std::int64_t> delayMs;
  std::optional<std::string> language;  // from the playlist's title
  std::optional<std::string> description;
  std::string langcodeExtension;             // the playlist's, after the language: "01", ...
  std::optional<SubpictureUnits> unitFacts;  // a subpicture stream written: its units
};

struct TitleEntry {
  std::string playlist;  // the playlist file
  std::string name;
  std::optional<std::int64_t> durationMs;
  std::vector<ChapterFact> chapters;
};

struct JobReport {
  std::string file;
  std::int64_t size = 0;
  std::optional<std::string> continuedWith;
  std::vector<StreamEntry> streams;  // in slot order
  std::optional<TitleEntry> title;
  std::vector<std::string> warnings;
};

// The title that plays the chosen EVO file, when the last "Read XPL" found it for the
// file chosen now; nullptr otherwise.
const TitleFacts* chosenTitle(const Session& session);

// The playlist's language of the stream in `slot` (audio or subpicture), from the title
// that plays the chosen EVO file; empty when not known.
std::string playlistLanguage(const Session& session, int slot);

// The report of what the session found last; empty of streams before any "Read EVO" or
// "Demux".
JobReport jobReport(const Session& session);

}  // namespace tessaly
