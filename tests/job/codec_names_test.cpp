// Outputs named by codec: each output's extension from its stream's first packet, the
// rest of the name as before (caption and base); every name an output may take is checked first.
#include <gtest/gtest.h>

#include <filesystem>

#include "job_fixture.h"
#include "session/demux_click.h"
#include "session/invoke.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::JobTest;
using tools::Stream;

void everyCodec(tools::PsWriter& w) {
  w.navPack();
  for (int n = 0; n < 6; ++n) {
    w.pack(Stream::h264(0));
    w.pack(Stream::mpeg2(1), 900);
    w.pack(Stream::dd(0), 700);
    w.pack(Stream::dtsHd(1), 700);
    w.pack(Stream::ddPlus(2), 700);
    w.pack(Stream::lpcm(3), 700);
    w.pack(Stream::mlp(4), 700);
    w.pack(Stream::subpicture(0), 300);
  }
}

// The window's box for other tools names by codec, writes LPCM as WAV and subpictures
// with their times; a box ticked for a stream the file does not carry makes no file.
TEST_F(JobTest, OutputsNamedByCodecTakeTheExtensionOfTheirStreamsFirstPacket) {
  auto expected = writeEvo("FEATURE_1.EVO", everyCodec);
  choose("FEATURE_1.EVO");
  ASSERT_TRUE(invoke(s, bCheckClick));
  setTicked(s, s.fMain.cbAudio[9], true);
  s.fMain.cbForTools.ticked = true;
  ASSERT_TRUE(invoke(s, bDemuxClick));

  const std::pair<int, std::string> named[] = {
      {1, "H.264.stream.0.h264"},  {2, "MPEG-2.stream.1.m2v"}, {17, "DD.stream.00.ac3"},
      {18, "DTSHD.stream.01.dts"}, {19, "DD+.stream.02.eac3"}, {21, "MLP.stream.04.thd"}};
  for (const auto& [slot, name] : named) {
    EXPECT_TRUE(logged("Creating " + out.file("FEATURE_1." + name))) << name;
    EXPECT_EQ(output("FEATURE_1." + name), expected[slot]) << name;
  }
  EXPECT_TRUE(logged("Creating " + out.file("FEATURE_1.LPCM.stream.03.wav")));
  for (const MadeFile& made : s.Made) {
    if (made.slot == 33) {
      EXPECT_NE(made.form, FileForm::Raw) << made.name;  // a .sup or an .idx/.sub pair
      continue;
    }
    EXPECT_EQ(made.form, keySlot(made.slot) == 20 ? FileForm::Wav : FileForm::Raw) << made.name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()),
            static_cast<std::ptrdiff_t>(s.Made.size()));
  EXPECT_GE(s.Made.size(), 8u);
  expectAllClosed();
}

// A folder at a name the DD stream's output could have taken by another codec fails the
// job before anything is made.
TEST_F(JobTest, EveryNameAnOutputNamedByCodecMayTakeIsCheckedFirst) {
  writeEvo("FEATURE_1.EVO", everyCodec);
  choose("FEATURE_1.EVO");
  ASSERT_TRUE(invoke(s, bCheckClick));
  s.Names = OutputNames::Codec;
  fs::create_directory(out.file("FEATURE_1.DD.stream.00.thd"));
  EXPECT_FALSE(invoke(s, bDemuxClick));
  EXPECT_EQ(host.errors.back(), "Cannot create file \"" + out.file("FEATURE_1.DD.stream.00.thd") +
                                    "\". Is a directory");
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
  expectAllClosed();
}

}  // namespace
}  // namespace tessaly
