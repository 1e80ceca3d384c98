// A caption's text drawn into a bitmap with a 5x7 font, each font pixel 6x6 frame pixels:
// letters in ink, a two-pixel outline around them, clear elsewhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::tools {

enum class Pixel : std::uint8_t { Clear, Ink, Outline };

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;  // row after row

  Pixel at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Capital letters, spaces and . , ! ' ; any other character throws std::invalid_argument.
Bitmap drawCaption(const std::string& text);

}  // namespace tessaly::tools
