// Playlists of the largest size "Read XPL" takes (16 MiB), each shaped to make one
// part of its result grow: memo lines, indentation, one line's length, the title's tree
// and log. Header-only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tessaly::testing {

constexpr std::size_t kLargestPlaylist = 16 * 1048576;

// `unit` repeated to fill the largest playlist.
inline std::string repeated(const std::string& unit) {
  std::string text;
  text.reserve(kLargestPlaylist);
  while (text.size() + unit.size() <= kLargestPlaylist) text += unit;
  return text;
}

// A title of FEATURE_1 whose lines each feed all five tests of the title phase with new
// numbers, while the lookup sites repeat long values from the lines before.
inline std::string amplifyingTitle() {
  const std::string v(240, 'v');
  std::string text = "<Playlist displayName=\"" + v + "\">\n<AudioAttributeItem index=\"1\" codec=\"" +
                     v + "\" channels=\"" + v + "\"/>\n<VideoAttributeItem index=\"1\" codec=\"" + v +
                     "\"/>\n<SubpictureAttributeItem index=\"1\" codec=\"" + v +
                     "\"/>\n<Title displayName=\"" + v + "\" titleDuration=\"" + v +
                     "\">\n<Clip src=\"FEATURE_1.MAP\" description=\"" + v +
                     "\" titleTimeBegin=\"" + v + "\"/>\n";
  for (int n = 1; text.size() < kLargestPlaylist - 100; ++n) {
    const std::string number = std::to_string(n);
    text += "<TITLE <VIDEO <AUDIO <SUBTITLE <CHAPTER track=\"" + number + "\" streamNumber=\"" +
            number + "\" mediaAttr=\"1\">\n";
  }
  return text;
}

// Writes the shapes into `dir` and returns their paths.
inline std::vector<std::string> writeHostilePlaylists(const TempDir& dir) {
  const std::vector<std::pair<std::string, std::string>> shapes = {
      {"unclosed.XPL", repeated("<>")},
      {"brackets.XPL", repeated(">")},
      {"nested.XPL", repeated("<" + std::string(254, 'a') + ">")},
      {"huge.XPL", "<" + std::string(kLargestPlaylist - 2, 'a') + ">"},
      {"title.XPL", amplifyingTitle()},
  };
  std::vector<std::string> paths;
  for (const auto& [name, text] : shapes) {
    writeFile(dir.file(name), text);
    paths.push_back(dir.file(name));
  }
  return paths;
}

}  // namespace tessaly::testing
