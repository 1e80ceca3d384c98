#include "disc_audio.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "support/child_process.h"
#include "timing_harness.h"
#include "tools/access_units.h"
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

namespace {

// Each unit stamped with its disc time, as a PTS after `videoZero`.
void writeUnits(tools::PsWriter& w, const DiscStream& audio, std::uint64_t videoZero) {
  std::vector<StampedUnit> stamps;
  for (const Unit& u : audio.units) {
    const double ticks = static_cast<double>(u.time) / kUnitsPerTick;
    stamps.push_back({u.offset, videoZero + static_cast<std::uint64_t>(std::llround(ticks))});
  }
  writeAudio(w, audio.stream, audio.clip->bytes, stamps, kPiece);
}

}  // namespace

void writeEvo(const tools::Stream& stream, const Clip& clip, const std::vector<Unit>& units,
              const std::string& path, int pictures, std::uint64_t videoZero) {
  tools::FileSink sink(path);
  tools::PsWriter w(sink, {.keepPayload = false, .lpcmFormat = kLpcmFormat});
  w.navPack();
  for (int n = 0; n < pictures; ++n) {
    w.pack(tools::Stream::mpeg2(0), 1000,
           {.time = static_cast<std::int64_t>(videoZero + 3600 * static_cast<std::uint64_t>(n))});
  }
  writeUnits(w, {stream, &clip, units}, videoZero);
  sink.close();
}

Bytes encodeVideo(int frames, const TempDir& dir) {
  const std::string file = dir.file("clip.m2v");
  encodeLavfi("testsrc=size=160x96:rate=30000/1001",
              {"-frames:v", std::to_string(frames), "-c:v", "mpeg2video", "-bf", "0", "-g", "15",
               "-f", "mpeg2video", file},
              dir);
  return readFile(file);
}

void writeFilmEvo(const Bytes& video, const std::vector<DiscStream>& audio, const std::string& path,
                  std::uint64_t videoZero) {
  tools::FileSink sink(path);
  tools::PsWriter w(sink, {.audioBound = static_cast<int>(audio.size())});
  w.navPack();
  const tools::Framing framing = tools::mpeg2Framing(video);
  // Where each picture's packets begin: at the sequence header before it, if any.
  std::vector<std::size_t> starts{0};
  for (std::size_t n = 1; n < framing.units.size(); ++n) {
    const auto entry =
        std::lower_bound(framing.entries.begin(), framing.entries.end(), framing.units[n - 1]);
    starts.push_back(
        entry != framing.entries.end() && *entry < framing.units[n] ? *entry : framing.units[n]);
  }
  starts.push_back(video.size());
  for (std::size_t n = 0; n + 1 < starts.size(); ++n) {
    const std::size_t begin = starts[n];
    const std::size_t end = starts[n + 1];
    tools::PesFields fields{.time = static_cast<std::int64_t>(videoZero + n * kPictureTicks)};
    for (std::size_t at = begin; at < end; fields = {.pts = false}) {
      at += w.pack(tools::Stream::mpeg2(0), std::span(video).subspan(at, end - at), fields);
    }
  }
  for (const DiscStream& stream : audio) writeUnits(w, stream, videoZero);
  sink.close();
}

std::vector<double> playedSeconds(const std::vector<Unit>& units) {
  std::vector<double> played;
  std::int64_t end = 0;
  for (const Unit& u : units) {
    if (!played.empty() && u.time < end - u.duration / 2) continue;
    played.push_back(static_cast<double>(u.time) / kUnitsPerSecond);
    end = u.time + u.duration;
  }
  return played;
}

double discSeconds(const std::vector<Unit>& units, std::uint64_t offset) {
  const auto u =
      std::prev(std::upper_bound(units.begin(), units.end(), offset,
                                 [](std::uint64_t o, const Unit& x) { return o < x.offset; }));
  const double into = static_cast<double>(offset - u->offset) / static_cast<double>(u->size);
  return (static_cast<double>(u->time) + into * static_cast<double>(u->duration)) / kUnitsPerSecond;
}

}  // namespace tessaly::testing
