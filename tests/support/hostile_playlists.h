// Playlists of the largest size "Read XPL" takes (16 MiB), each shaped to make one
// part of its result grow: memo lines, indentation, one line's length, the title's tree
// and log. Written piece by piece, so that the writer itself stays small. Header-only.
#pragma once

#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tessaly::testing {

constexpr std::size_t kLargestPlaylist = 16 * 1048576;

// `unit` repeated as often as it fits in the largest playlist.
inline void writeRepeated(std::ofstream& out, const std::string& unit) {
  for (std::size_t size = 0; size + unit.size() <= kLargestPlaylist; size += unit.size()) {
    out << unit;
  }
}

// One tag as large as the largest playlist.
inline void writeHugeTag(std::ofstream& out) {
  const std::string part(1048576, 'a');
  out << '<' << part.substr(2);
  for (int n = 1; n < 16; ++n) out << part;
  out << '>';
}

// A title of FEATURE_1 whose lines each feed all five tests of the title phase with new
// numbers, while the lookup sites repeat long values from the lines before.
inline void writeAmplifyingTitle(std::ofstream& out) {
  const std::string v(240, 'v');
  out << "<Playlist displayName=\"" << v << "\">\n<AudioAttributeItem index=\"1\" codec=\"" << v
      << "\" channels=\"" << v << "\"/>\n<VideoAttributeItem index=\"1\" codec=\"" << v
      << "\"/>\n<SubpictureAttributeItem index=\"1\" codec=\"" << v << "\"/>\n<Title displayName=\""
      << v << "\" titleDuration=\"" << v << "\">\n<Clip src=\"FEATURE_1.MAP\" description=\"" << v
      << "\" titleTimeBegin=\"" << v << "\"/>\n";
  for (int n = 1; static_cast<std::size_t>(out.tellp()) < kLargestPlaylist - 100; ++n) {
    out << "<TITLE <VIDEO <AUDIO <SUBTITLE <CHAPTER track=\"" << n << "\" streamNumber=\"" << n
        << "\" mediaAttr=\"1\">\n";
  }
}

// Writes the shapes into `dir` and returns their paths.
inline std::vector<std::string> writeHostilePlaylists(const TempDir& dir) {
  const std::vector<std::pair<std::string, void (*)(std::ofstream&)>> shapes = {
      {"unclosed.XPL", [](std::ofstream& out) { writeRepeated(out, "<>"); }},
      {"brackets.XPL", [](std::ofstream& out) { writeRepeated(out, ">"); }},
      {"nested.XPL",
       [](std::ofstream& out) { writeRepeated(out, "<" + std::string(254, 'a') + ">"); }},
      {"huge.XPL", writeHugeTag},
      {"title.XPL", writeAmplifyingTitle},
  };
  std::vector<std::string> paths;
  for (const auto& [name, write] : shapes) {
    std::ofstream out(dir.file(name), std::ios::binary);
    write(out);
    paths.push_back(dir.file(name));
  }
  return paths;
}

}  // namespace tessaly::testing
