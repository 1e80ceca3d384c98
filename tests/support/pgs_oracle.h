// Presentation graphics read back by the tools of the field: a .sup muxed by mkvmerge into
// Matroska, the subtitles ffmpeg's decoder (hdmv_pgs_subtitle) makes of it with their
// times, and the pictures it draws of them: 1920x1080 RGBA canvases, as its overlay takes
// them. Expected canvases are drawn from the tests' own reading of the units
// (support/hd_reference.h). Header-only.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/hd_reference.h"

namespace tessaly::testing {

constexpr int kCanvasWidth = 1920;
constexpr int kCanvasHeight = 1080;

// Four bytes a pixel: R, G, B, A.
using Canvas = std::vector<std::uint8_t>;

struct DecodedSubtitle {
  std::int64_t ms = 0;  // its time in the Matroska file
  int rects = 0;        // 0: it clears the display
  bool operator==(const DecodedSubtitle&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const DecodedSubtitle& d) {
    return out << d.ms << " ms, " << d.rects << " rects";
  }
};

// mkvmerge's `-o mkv sup`; returns `mkvmerge -J mkv`.
inline std::string muxPgs(const std::string& sup, const std::string& mkv, const TempDir& logs) {
  const ChildRun mux = runChild(program("mkvmerge"), {"-q", "-o", mkv, sup}, logs);
  EXPECT_EQ(mux.status, 0) << mux.out << mux.err;
  const ChildRun identify = runChild(program("mkvmerge"), {"-J", mkv}, logs);
  EXPECT_EQ(identify.status, 0) << identify.err;
  return identify.out;
}

inline std::vector<DecodedSubtitle> decodedSubtitles(const std::string& mkv, const TempDir& logs) {
  const ChildRun probe = runChild(program("ffprobe"),
                                  {"-v", "error", "-show_frames", "-show_entries",
                                   "subtitle=pts,num_rects", "-of", "csv=p=0", mkv},
                                  logs);
  EXPECT_EQ(probe.status, 0) << probe.err;
  std::vector<DecodedSubtitle> subtitles;
  for (const std::string& line : lines(probe.out)) {
    const auto comma = line.find(',');
    if (comma == std::string::npos) continue;
    // ffprobe's pts of a subtitle counts microseconds.
    subtitles.push_back(
        {(std::stoll(line.substr(0, comma)) + 500) / 1000, std::stoi(line.substr(comma + 1))});
  }
  return subtitles;
}

// The canvases ffmpeg draws, in order, blank ones left out; a canvas drawn again at once
// (the format's repeated frames) counts once. With `forcedOnly` the decoder shows forced subtitles
// alone.
inline std::vector<Canvas> drawnCanvases(const std::string& mkv, const TempDir& logs,
                                         bool forcedOnly = false) {
  const std::string raw = logs.file("canvases.rgba");
  std::vector<std::string> args{"-v", "error", "-y"};
  if (forcedOnly) args.insert(args.end(), {"-forced_subs_only", "1"});
  args.insert(args.end(),
              {"-canvas_size", "1920x1080", "-i", mkv, "-filter_complex", "[0:s:0]format=rgba[v]",
               "-map", "[v]", "-fps_mode", "passthrough", "-f", "rawvideo", raw});
  const ChildRun draw = runChild(program("ffmpeg"), args, logs);
  EXPECT_EQ(draw.status, 0) << draw.err;
  std::ifstream frames(raw, std::ios::binary);
  std::vector<Canvas> canvases;
  Canvas previous;
  for (Canvas c(std::size_t{kCanvasWidth} * kCanvasHeight * 4);
       frames.read(reinterpret_cast<char*>(c.data()), static_cast<std::streamsize>(c.size()));) {
    const bool blank =
        std::find_if(c.begin(), c.end(), [](std::uint8_t b) { return b; }) == c.end();
    if (!blank && c != previous) canvases.push_back(c);
    previous = c;
  }
  return canvases;
}

// The canvas that shows `picture` at its place, clear elsewhere.
inline Canvas canvasOf(const ShownPicture& picture) {
  Canvas c(std::size_t{kCanvasWidth} * kCanvasHeight * 4, 0);
  for (int y = 0; y < picture.height && picture.y + y < kCanvasHeight; ++y) {
    for (int x = 0; x < picture.width && picture.x + x < kCanvasWidth; ++x) {
      const std::uint32_t rgba = picture.rgba[static_cast<std::size_t>(y * picture.width + x)];
      const auto at = static_cast<std::size_t>((picture.y + y) * kCanvasWidth + picture.x + x) * 4;
      for (int k = 0; k < 4; ++k) c[at + k] = static_cast<std::uint8_t>(rgba >> (24 - 8 * k));
    }
  }
  return c;
}

// Empty when equal; else where the first pixel differs.
inline std::string canvasDifference(const Canvas& drawn, const Canvas& expected) {
  const auto [d, e] = std::mismatch(drawn.begin(), drawn.end(), expected.begin(), expected.end());
  if (d == drawn.end() && e == expected.end()) return "";
  const std::size_t pixel = static_cast<std::size_t>(e - expected.begin()) / 4;
  const auto rgba = [pixel](const Canvas& c) {
    char text[12];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x", c.at(4 * pixel), c.at(4 * pixel + 1),
                  c.at(4 * pixel + 2), c.at(4 * pixel + 3));
    return std::string(text);
  };
  return "pixel (" + std::to_string(pixel % kCanvasWidth) + ", " +
         std::to_string(pixel / kCanvasWidth) + ") is " + rgba(drawn) + ", not " + rgba(expected);
}

}  // namespace tessaly::testing
