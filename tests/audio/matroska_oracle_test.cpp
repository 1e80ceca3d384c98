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
#include "disc_audio.h"
#include "timing_harness.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

struct Scenario {
  const char* codec;
  const char* format;
  int channels;
  AudioCoding coding;
  Stream (*stream)(int);
};

std::vector<Unit> unitsOf(const Scenario& s, const Clip& clip) {
  if (s.coding != AudioCoding::Lpcm) return packetUnits(clip);
  std::vector<Unit> units;
  for (std::uint64_t at = 0; at + kPiece <= clip.bytes.size(); at += kPiece) {
    units.push_back({at, kPiece, sampleUnits(kPiece / 4, 48000)});
  }
  return units;
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
  writeEvo(s.stream(0), clip, units, dir.file("FEATURE_1.EVO"));

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
