// Subpicture units for test streams: a caption's text drawn with a small built-in font
// (white letters in a black outline) as a DVD-style unit (2-bit pixels and 16-bit fields,
// coloured from the player's 16-colour palette) or as an HD unit (8-bit pixels and 32-bit
// fields, with its own palette and alpha tables). A start sequence sets the colours, the
// area and the two fields' offsets and shows the caption at the unit's PTS; an HD unit
// may fade it in with contrast-only sequences; a stop sequence hides it `durationMs` later.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/caption_bitmap.h"

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

// What an HD unit may add to the plain caption.
struct HdEffects {
  bool forced = false;  // a forced start (FSTA_DSP) instead of STA_DSP
  // Contrast-only sequences after the start, `fadeStepMs` apart: the letters fade in from
  // nearly transparent, opaque at the last step.
  int fadeSteps = 0;
  std::uint32_t fadeStepMs = 0;
  std::array<std::uint8_t, 3> ink{235, 128, 128};  // Y, Cr, Cb: white
};

// The contrast of ink and outline at step `step` (0: the start) of a fade of `steps`.
std::uint8_t fadeContrast(int step, int steps);

// `forced`: a forced start (FSTA_DSP) instead of STA_DSP.
std::vector<std::uint8_t> dvdUnit(const std::string& text, std::uint32_t durationMs,
                                  bool forced = false);
std::vector<std::uint8_t> hdUnit(const std::string& text, std::uint32_t durationMs,
                                 const HdEffects& effects = {});
// An HD unit of any bitmap, shown in `area` (of the bitmap's size).
std::vector<std::uint8_t> hdUnit(const Bitmap& bitmap, const Area& area, std::uint32_t durationMs,
                                 const HdEffects& effects = {});

}  // namespace tessaly::tools
