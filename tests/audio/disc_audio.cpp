#include "disc_audio.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "timing_harness.h"
#include "tools/byte_sink.h"

namespace tessaly::testing {

std::vector<Unit> packetUnits(const Clip& clip) {
  std::vector<Unit> units;
  for (const ProbedPacket& p : clip.packets) {
    units.push_back({p.pos, p.size, p.durationNum * kUnitsPerSecond / p.durationDen});
  }
  return units;
}

void placeOnDisc(std::vector<Unit>& units, std::int64_t delay, bool breaks) {
  std::int64_t played = 0;
  std::int64_t shift = 0;
  std::optional<std::uint64_t> piece;
  for (Unit& u : units) {
    const bool stamped = u.offset / kPiece != piece;
    piece = u.offset / kPiece;
    if (breaks && stamped && shift == 0 && played >= 3744 * kMs) shift = kGap;
    if (breaks && stamped && shift == kGap && played >= 6000 * kMs) shift = kGap - kOverlap;
    u.time = delay + played + shift;
    played += u.duration;
  }
}

void writeEvo(const tools::Stream& stream, const Clip& clip, const std::vector<Unit>& units,
              const std::string& path, int pictures, std::uint64_t videoZero) {
  tools::FileSink sink(path);
  tools::PsWriter w(sink, {.keepPayload = false, .lpcmFormat = kLpcmFormat});
  w.navPack();
  for (int n = 0; n < pictures; ++n) {
    w.pack(tools::Stream::mpeg2(0), 1000,
           {.time = static_cast<std::int64_t>(videoZero + 3600 * static_cast<std::uint64_t>(n))});
  }
  std::vector<StampedUnit> stamps;
  for (const Unit& u : units) {
    const double ticks = static_cast<double>(u.time) / kUnitsPerTick;
    stamps.push_back({u.offset, videoZero + static_cast<std::uint64_t>(std::llround(ticks))});
  }
  writeAudio(w, stream, clip.bytes, stamps, kPiece);
  sink.close();
}

double discSeconds(const std::vector<Unit>& units, std::uint64_t offset) {
  const auto u =
      std::prev(std::upper_bound(units.begin(), units.end(), offset,
                                 [](std::uint64_t o, const Unit& x) { return o < x.offset; }));
  const double into = static_cast<double>(offset - u->offset) / static_cast<double>(u->size);
  return (static_cast<double>(u->time) + into * static_cast<double>(u->duration)) / kUnitsPerSecond;
}

}  // namespace tessaly::testing
