// What an HD subpicture unit shows over time, as presentation graphics show it: its
// control sequences run in order, each at its delay; a start shows the area's bitmap with
// the colours and contrasts in effect (transparency comes from the contrast, not from the
// pixel value), new colours or contrasts while it shows recolour it (a fade is a row of
// such sequences), a new area or new pixel data show a new picture, a stop clears it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "job/pgs_display_sets.h"

namespace tessaly {

struct PgsEvent {
  enum class Kind { Show, Recolour, Clear };
  Kind kind = Kind::Clear;
  std::int64_t delay = 0;          // ticks of 90 kHz after the unit's PTS
  PgsPicture picture;              // Show
  std::vector<PgsColour> palette;  // Show, Recolour: the entries the picture uses
};

struct HdDisplay {
  std::vector<PgsEvent> events;  // in time order
  bool forced = false;           // a forced start (FSTA_DSP) showed it
  bool leftOut = false;          // it asks for a display that it does not describe enough to make
};

// A unit's pictures (the first and each new area or pixel data) beyond this are left out.
inline constexpr int kMostPictures = 4;

// The display of `unit` in `frame`; a picture's part outside the frame is cut off.
HdDisplay hdDisplay(std::span<const std::uint8_t> unit, VideoFrame frame);

}  // namespace tessaly
