// What a "Read EVO" or "Demux" found out about each stream, beside the stream table: the
// facts of its packets, its output and the caption that named it, and the passes'
// warnings. The report, the stream boxes' tooltips and the Matroska step read it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/stream_facts.h"

namespace tessaly {

// The format of a subpicture stream's units: HD (8-bit pixels) or DVD-style (2-bit).
enum class UnitFormat { Hd, Dvd };

// What a demux job's output of a subpicture stream found in its units: their format (by the
// first unit's header), how many there were and how many of them start their display with
// a forced start (FSTA_DSP), which a player shows also when no subtitles are chosen.
struct SubpictureUnits {
  UnitFormat format = UnitFormat::Hd;
  std::uint64_t units = 0;
  std::uint64_t forcedUnits = 0;
  bool operator==(const SubpictureUnits&) const = default;
};

struct Findings {
  std::string file;           // the EVO file as the job opened it; empty: nothing found yet
  std::int64_t size = 0;      // its size in bytes
  std::string continuedWith;  // the second segment, when the job continued
  StreamFactsTable streams;
  std::map<int, std::string> outputs;          // slot -> its first file, as "Creating " logged it
  std::map<int, std::string> captions;         // slot -> the caption its output was named with
  std::vector<std::string> warnings;           // the passes' warning lines, as logged
  std::map<int, SubpictureUnits> subpictures;  // slot -> its output's units, once one began
};

}  // namespace tessaly
