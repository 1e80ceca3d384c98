// The report of a "Read EVO" or "Demux" as plain records: the input, every stream found
// with its figures, delay and playlist language, the playlist's title and the warnings.
// The report writer, the Matroska step and the window's tooltips read it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/findings.h"
#include "playlist/title_facts.h"

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
  std::optional<int> channels;               // from the playlist's title
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

// The playlist's language of the stream in `slot` (audio or subpicture), from `title`
// (the title that plays the EVO file; nullptr for none); empty when not known.
std::string playlistLanguage(const TitleFacts* title, int slot);

// The report of what a job found; `title` is the title of the playlist `playlist` that
// plays the EVO file, nullptr when none is known.
JobReport jobReport(const Findings& found, const TitleFacts* title, const std::string& playlist);

}  // namespace tessaly
