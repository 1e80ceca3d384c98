// Subpicture units for test streams: a caption's text drawn with a small built-in font
// (white letters in a black outline) as a DVD-style unit (2-bit pixels and 16-bit fields,
// coloured from the player's 16-colour palette) or as an HD unit (8-bit pixels and 32-bit
// fields, with its own palette and alpha tables). A start sequence sets the colours, the
// area and the two fields' offsets and shows the caption at the unit's PTS; a stop
// sequence hides it `durationMs` later.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::tools {

// A rectangle of the 1920x1080 frame, its edges included.
struct Area {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  bool operator==(const Area&) const = default;
};

// Where a caption of `text` shows: centred, above the bottom of the frame. Captions hold
// capital letters, spaces and . , ! ' only; any other character throws
// std::invalid_argument.
Area captionArea(const std::string& text);

std::vector<std::uint8_t> dvdUnit(const std::string& text, std::uint32_t durationMs);
std::vector<std::uint8_t> hdUnit(const std::string& text, std::uint32_t durationMs);

}  // namespace tessaly::tools
