// The chosen Matroska form, end to end on real bitstreams: ffmpeg's AC-3, E-AC-3, TrueHD,
// LPCM and DTS in a program stream whose PTS make a gap of 480 ms and then an overlap of
// 100 ms, walked by the engine into a raw output and the job's timing; the raw output cut
// at the breaks into parts, muxed by mkvmerge with "+" and a --sync each, and read back by
// ffprobe packet by packet: every packet within 1 ms of the disc time of the bytes it
// carries, the time line never running backwards, no more than 40 ms of audio lost per
// break, and the warnings as the operator reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio/break_words.h"
#include "audio_clips.h"
#include "timing_harness.h"
#include "tools/byte_sink.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

constexpr std::int64_t kMs = kUnitsPerMs;
constexpr std::uint64_t kVideoZero = 900000;  // video stream 0's first PTS
constexpr std::int64_t kDelay = 256 * kMs;    // the audio's first frame after it
constexpr std::int64_t kGap = 480 * kMs;
constexpr std::int64_t kOverlap = 100 * kMs;
constexpr std::size_t kPiece = 2000;                              // payload bytes per audio packet
const std::array<std::uint8_t, 3> kLpcmFormat{0x00, 0x01, 0x80};  // 16 bits, 48 kHz, stereo

struct Scenario {
  const char* codec;
  const char* format;
  int channels;
  AudioCoding coding;
  Stream (*stream)(int);
};

// The disc's frames: where each lies in the raw output and when it plays on the disc.
struct Unit {
  std::uint64_t offset;
  std::uint64_t size;
  std::int64_t duration;
  std::int64_t time = 0;  // units after video stream 0's first PTS
};

std::vector<Unit> unitsOf(const Scenario& s, const Clip& clip) {
  std::vector<Unit> units;
  if (s.coding == AudioCoding::Lpcm) {
    for (std::uint64_t at = 0; at + kPiece <= clip.bytes.size(); at += kPiece) {
      units.push_back({at, kPiece, sampleUnits(kPiece / 4, 48000)});
    }
    return units;
  }
  for (const ProbedPacket& p : clip.packets) {
    units.push_back({p.pos, p.size, p.durationNum * kUnitsPerSecond / p.durationDen});
  }
  return units;
}

// Times on the disc: continuous from kDelay, 480 ms later from the first unit at 3,744 ms
// of audio or after that carries a PTS (the first starting in its packet), 100 ms earlier
// again from such a unit at 6,000 ms or after.
void placeOnDisc(std::vector<Unit>& units) {
  std::int64_t played = 0;
  std::int64_t shift = 0;
  std::optional<std::uint64_t> piece;
  for (Unit& u : units) {
    const bool stamped = u.offset / kPiece != piece;
    piece = u.offset / kPiece;
    if (stamped && shift == 0 && played >= 3744 * kMs) shift = kGap;
    if (stamped && shift == kGap && played >= 6000 * kMs) shift = kGap - kOverlap;
    u.time = kDelay + played + shift;
    played += u.duration;
  }
}

// A program stream of video stream 0 (time stamps only) and the clip in packets of
// kPiece bytes, each stamped with the disc time of the first unit starting in it.
void writeEvo(const Scenario& s, const Clip& clip, const std::vector<Unit>& units,
              const std::string& path) {
  tools::FileSink sink(path);
  tools::PsWriter w(sink, {.keepPayload = false, .lpcmFormat = kLpcmFormat});
  w.navPack();
  for (int n = 0; n < 20; ++n) {
    w.pack(Stream::mpeg2(0), 1000, {.time = static_cast<std::int64_t>(kVideoZero + 3600 * n)});
  }
  std::vector<StampedUnit> stamps;
  for (const Unit& u : units) {
    const double ticks = static_cast<double>(u.time) / kUnitsPerTick;
    stamps.push_back({u.offset, kVideoZero + static_cast<std::uint64_t>(std::llround(ticks))});
  }
  writeAudio(w, s.stream(0), clip.bytes, stamps, kPiece);
  sink.close();
}

// The disc time of raw byte `offset`, in seconds.
double discSeconds(const std::vector<Unit>& units, std::uint64_t offset) {
  const auto u =
      std::prev(std::upper_bound(units.begin(), units.end(), offset,
                                 [](std::uint64_t o, const Unit& x) { return o < x.offset; }));
  const double into = static_cast<double>(offset - u->offset) / static_cast<double>(u->size);
  return (static_cast<double>(u->time) + into * static_cast<double>(u->duration)) / kUnitsPerSecond;
}

class MatroskaOracleTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(MatroskaOracleTest, EveryFramePlaysAtItsDiscTime) {
  const Scenario s = GetParam();
  const TempDir dir;
  const bool lpcm = s.coding == AudioCoding::Lpcm;
  const Clip clip =
      lpcm ? encodeClip(s.codec, s.format, s.channels, 8, dir,
                        {"-f", "s16be", "-sample_rate", "48000", "-ch_layout", "stereo"})
           : encodeClip(s.codec, s.format, s.channels, 8, dir);
  std::vector<Unit> units = unitsOf(s, clip);
  placeOnDisc(units);
  writeEvo(s, clip, units, dir.file("FEATURE_1.EVO"));

  TimingPass pass(dir);
  const JobTimingResult result = timeJob({dir.file("FEATURE_1.EVO")}, pass);
  ASSERT_EQ(result.streams.size(), 1u);
  const AudioStreamTiming& stream = result.streams[0];
  const std::int64_t zero = delayZero(result, stream);
  const auto& breaks = stream.timeline.breaks;
  ASSERT_EQ(breaks.size(), 2u);
  const BreakRecord gap = breakRecord(breaks[0], zero);
  const BreakRecord overlap = breakRecord(breaks[1], zero);
  EXPECT_EQ(gap.jumpMs, 480);
  EXPECT_EQ(overlap.jumpMs, -100);
  for (const AudioBreak& b : breaks) EXPECT_LE(b.lost, 40 * kMs);
  const std::string name = audioCodec(s.coding).name;
  if (s.coding == AudioCoding::DDPlus) {
    EXPECT_EQ(breakWarning(0, name, gap),
              "Warning: audio stream 0 (DD+) has a gap of 480 ms at 0:00:04.000; the Matroska file "
              "keeps it.");
    EXPECT_EQ(
        breakWarning(0, name, overlap),
        "Warning: audio stream 0 (DD+) has an overlap of 100 ms at 0:00:06.752; 3 frames left "
        "out.");
  }

  const std::vector<MkvPart> parts = matroskaParts(stream.timeline, zero);
  ASSERT_EQ(parts.size(), 3u);

  const auto format = lpcm ? lpcmFormat(kLpcmFormat) : std::nullopt;
  const std::vector<MkvPacket> packets =
      muxParts(pass.output(17), parts, format, dir.file("track.mkv"), dir);
  ASSERT_FALSE(packets.empty());

  // Packet by packet through the parts' bytes, in order.
  std::size_t part = 0;
  std::uint64_t at = parts[0].begin;
  double last = -1;
  double worst = 0;
  double played = 0;
  for (const MkvPacket& p : packets) {
    ASSERT_LT(part, parts.size());
    worst = std::max(worst, std::abs(p.seconds - discSeconds(units, at)));
    EXPECT_GT(p.seconds, last) << "the time line runs backwards";
    last = p.seconds;
    played += p.duration;
    at += p.size;
    if (at >= parts[part].end && ++part < parts.size()) at = parts[part].begin;
  }
  EXPECT_EQ(part, parts.size()) << "every part's bytes in the file";
  EXPECT_LE(worst, 0.001 + 1e-9) << "seconds off the disc time";
  double disc = 0;
  for (const Unit& u : units) disc += static_cast<double>(u.duration) / kUnitsPerSecond;
  EXPECT_GE(played, disc - 0.100 - 2 * 0.040) << "audio lost";
  EXPECT_LE(played, disc - 0.100 + 0.032) << "the overlap's later copy plays";
}

INSTANTIATE_TEST_SUITE_P(
    Codings, MatroskaOracleTest,
    ::testing::Values(Scenario{"ac3", "ac3", 6, AudioCoding::DD, Stream::dd},
                      Scenario{"eac3", "eac3", 6, AudioCoding::DDPlus, Stream::ddPlus},
                      Scenario{"truehd", "truehd", 6, AudioCoding::Mlp, Stream::mlp},
                      Scenario{"pcm_s16be", "s16be", 2, AudioCoding::Lpcm, Stream::lpcm},
                      Scenario{"dca", "dts", 6, AudioCoding::DtsHd, Stream::dtsHd}),
    [](const auto& test) { return std::string(test.param.codec); });

}  // namespace
}  // namespace tessaly::testing
