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

// A title of FEATURE_1 whose short lines each add an audio track with a new number,
// while the lookup sites repeat long values (codec, channels, description) from the first:
// each line adds a long label to the tree and to the log.
inline void writeAmplifyingTitle(std::ofstream& out) {
  const std::string v(250, 'v');
  out << "<AudioAttributeItem index=\"1\" codec=\"" << v << "\" channels=\"" << v
      << "\"/>\n<Title displayName=\"Main\">\n<Clip src=\"FEATURE_1.MAP\"/>\n"
      << "<Audio streamNumber=\"1\" mediaAttr=\"1\" description=\"" << v << "\"/>\n";
  for (int n = 2; static_cast<std::size_t>(out.tellp()) < kLargestPlaylist - 100; ++n) {
    out << "<Audio streamNumber=\"" << n << "\">\n";
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
