// Where the access units of an elementary stream start and where a decoder can begin to
// read it, found from the stream's own framing: what the feature mix needs to give each
// packet its time stamp and to end a segment on whole units.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaly::tools {

struct Framing {
  std::vector<std::size_t> units;    // offsets of the access units: pictures, audio frames
  std::vector<std::size_t> entries;  // offsets a decoder can start at, each before a unit
  // Each unit's playing time from the stream's start, in seconds; none: the units share
  // the stream's playing time evenly.
  std::vector<double> times;
};

// MPEG-2 video: its pictures (picture start codes), entered at its sequence headers.
Framing mpeg2Framing(const std::vector<std::uint8_t>& video);
// E-AC-3 (DD+): its sync frames, by their frame size fields; each frame is an entry.
Framing eac3Framing(const std::vector<std::uint8_t>& audio);
// MLP: its access units, by their length fields, entered at their major syncs.
// Both throw std::invalid_argument when a frame runs past the end of the stream.
Framing mlpFraming(const std::vector<std::uint8_t>& audio);

}  // namespace tessaly::tools
