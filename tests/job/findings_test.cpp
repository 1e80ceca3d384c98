// What "Read EVO" and "Demux" find beside the stream table: the warnings for outputs
// that several sources fill, and the stream records across both segments.
#include <gtest/gtest.h>

#include "engine/stream_facts.h"
#include "job_fixture.h"
#include "session/demux_click.h"
#include "session/invoke.h"

namespace tessaly {
namespace {

using tools::Stream;

const std::vector<std::string> kWarnings = {
    "Warning: 1 packets are scrambled; their streams are still encrypted.",
    "Warning: audio stream 0 carries DTS HD and DD packets; they share one output.",
    "Warning: audio stream 1 carries DD+, MLP and LPCM packets; they share one output.",
    "Warning: MPEG audio packets follow audio stream 0; they share its output.",
    "Warning: MPEG audio packets follow audio stream 2; they share its output.",
};

using FindingsTest = testing::JobTest;

// DTS HD 0x88 then DD 0x80 share number 0; DD+ 0xC1, MLP 0xB1 and LPCM 0xA1 number 1;
// MPEG audio follows numbers 2 and 0 (and, before any number, goes nowhere).
TEST_F(FindingsTest, SharedOutputsAreWarnedAfterTheScrambledLineInBothModes) {
  writeEvo("FEATURE_1.EVO", [](tools::PsWriter& w) {
    w.navPack();
    w.pack(Stream::mpegAudio(0), 300);
    w.pack(Stream::vc1(0), tools::PsWriter::kFill, {.scrambling = 1});
    w.pack(Stream::dd(2), 400);
    w.pack(Stream::mpegAudio(3), 300);
    for (int n = 0; n < 2; ++n) {
      w.pack(Stream::dtsHd(0), 500);
      w.pack(Stream::dd(0), 500);
      w.pack(Stream::mpegAudio(1), 300);
      w.pack(Stream::ddPlus(1), 600);
      w.pack(Stream::mlp(1), 600);
      w.pack(Stream::lpcm(1), 600);
    }
  });
  choose("FEATURE_1.EVO");
  ASSERT_TRUE(invoke(s, bCheckClick));
  std::vector<std::string> scanEnd = kWarnings;
  scanEnd.push_back("Done.");
  EXPECT_EQ(lastLines(6), scanEnd);
  EXPECT_EQ(s.Found.warnings, kWarnings);

  ASSERT_TRUE(invoke(s, bDemuxClick));
  EXPECT_EQ(lastLines(6), scanEnd);
  EXPECT_EQ(s.Found.warnings, kWarnings);
  const StreamFacts& zero = s.Found.streams[17];
  EXPECT_EQ(zero.value, 0x88);
  EXPECT_EQ(zero.ids, (std::vector<std::uint8_t>{0x88, 0x80}));
  EXPECT_EQ(zero.packets, 4u);  // DTS HD and DD twice each; the MPEG audio is not its own
}

TEST_F(FindingsTest, TheSecondSegmentAddsToTheSameRecords) {
  const auto build = [](std::uint64_t start) {
    return [start](tools::PsWriter& w) {
      w.navPack();
      for (std::uint64_t n = 0; n < 3; ++n) {
        w.pack(Stream::vc1(0), tools::PsWriter::kFill, {.time = std::int64_t(start + n * 3750)});
        w.pack(Stream::ddPlus(0), 1000, {.time = std::int64_t(start + 90000 + n * 2880)});
      }
    };
  };
  writeEvo("FEATURE_1.EVO", build(900000), 1);
  writeEvo("FEATURE_2.EVO", build(1800000), 2);
  writeEvo("FEATURE_3.EVO", build(0), 3);  // never read: a job continues once
  choose("FEATURE_1.EVO");
  tick(17, "DD+.stream.00");
  ASSERT_TRUE(invoke(s, bDemuxClick));

  EXPECT_EQ(s.Found.file, in.file("FEATURE_1.EVO"));
  EXPECT_EQ(s.Found.continuedWith, in.file("FEATURE_2.EVO"));
  EXPECT_EQ(s.Found.outputs,
            (std::map<int, std::string>{{17, out.file("FEATURE_1.DD+.stream.00.mpa")}}));
  const StreamFacts& video = s.Found.streams[1];
  const StreamFacts& audio = s.Found.streams[17];
  EXPECT_EQ(video.value, 0x55);
  EXPECT_EQ(video.packets, 6u);
  EXPECT_EQ(audio.packets, 6u);
  EXPECT_EQ(audio.bytes, 6000u);
  EXPECT_EQ(output("FEATURE_1.DD+.stream.00.mpa").size(), audio.bytes);
  EXPECT_EQ(audio.firstPts, 990000u);
  EXPECT_EQ(audio.highest, 900000 + 2 * 2880);
  EXPECT_EQ(delayMs(s.Found.streams, 17), 1000);
  EXPECT_TRUE(s.Found.warnings.empty());
}

}  // namespace
}  // namespace tessaly
