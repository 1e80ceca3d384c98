// Still-encrypted input: packets whose PES scrambling control is not 00 are walked
// like any other, and each pass that met them ends with a warning giving their count,
// so that a demux of an encrypted disc does not look like a clean success.
#include <gtest/gtest.h>

#include "job/job_fixture.h"
#include "session/demux_click.h"
#include "session/invoke.h"

namespace tessaly {
namespace {

using testing::Build;
using tools::Stream;

const std::string kWarning6 =
    "Warning: 6 packets are scrambled; their streams are still encrypted.";

// Three rounds of scrambled VC-1 (control 01) and DD+ (11) packs, whose short payload
// leaves a padding packet of 0xFF bytes, and a clear subpicture pack.
Build partlyScrambled() {
  return [](tools::PsWriter& w) {
    w.navPack();
    for (int n = 0; n < 3; ++n) {
      w.pack(Stream::vc1(0), tools::PsWriter::kFill, {.scrambling = 1});
      w.pack(Stream::ddPlus(0), 1500, {.scrambling = 3});
      w.pack(Stream::subpicture(0), 700);
    }
  };
}

using ScrambledTest = testing::JobTest;

TEST_F(ScrambledTest, ScanAndDemuxWalkScrambledPacketsAndEndWithTheirCount) {
  const auto expected = writeEvo("FEATURE_1.EVO", partlyScrambled());
  choose("FEATURE_1.EVO");
  ASSERT_TRUE(invoke(s, bCheckClick));
  EXPECT_EQ(lastLines(5),
            (std::vector<std::string>{"VC-1 video stream 0 found!", "DD+ audio stream 0 found!",
                                      "Subpicture stream 0 found!", kWarning6, "Done."}));
  EXPECT_TRUE(s.fMain.cbVideo[0].ticked && s.fMain.cbAudio[0].ticked && s.fMain.cbSub[0].ticked);

  ASSERT_TRUE(invoke(s, bDemuxClick));
  EXPECT_EQ(lastLines(2), (std::vector<std::string>{kWarning6, "Done."}));
  EXPECT_EQ(output("FEATURE_1.VC-1.stream.0.mpv"), expected.at(1));
  EXPECT_EQ(output("FEATURE_1.DD+.stream.00.mpa"), expected.at(17));
  EXPECT_EQ(output("FEATURE_1.Subpicture.00.sup"), expected.at(33));
}

TEST_F(ScrambledTest, OnlyTheFirstFixedByteOfAPacketCounts) {
  // A clear stream; then a packet whose length ends it before its fixed bytes, followed
  // by a byte with both scrambling bits set; then one packet scrambled with control 10.
  writeEvo("FEATURE_1.EVO", [](tools::PsWriter& w) {
    testing::feature(2)(w);
    w.raw({0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0xB1, 0x80, 0x00});
    w.packet(Stream::ddPlus(1), 100, {.scrambling = 2});
  });
  choose("FEATURE_1.EVO");
  ASSERT_TRUE(invoke(s, bCheckClick));
  EXPECT_EQ(lastLines(2),
            (std::vector<std::string>{
                "Warning: 1 packets are scrambled; their streams are still encrypted.", "Done."}));

  writeEvo("FEATURE_1.EVO", testing::feature(2));
  s.fMain.mMessage.lines.clear();
  ASSERT_TRUE(invoke(s, bCheckClick));
  ASSERT_TRUE(invoke(s, bDemuxClick));
  for (const auto& line : s.fMain.mMessage.lines) {
    EXPECT_EQ(line.find("scrambled"), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace tessaly
