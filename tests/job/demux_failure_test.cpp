#include <gtest/gtest.h>

#include <filesystem>

#include "job_fixture.h"
#include "platform/files.h"
#include "session/demux_click.h"
#include "session/invoke.h"
#include "support/file_size_limit.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::feature;
using testing::FileSizeLimit;

class DemuxFailureTest : public testing::JobTest {
 protected:
  // A failed job leaves no "Done.", keeps "Demux" disabled and closes everything.
  void expectFailedWith(const std::string& message) {
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0], message);
    EXPECT_NE(s.fMain.mMessage.lines.back(), "Done.");
    EXPECT_FALSE(s.fMain.bDemux.enabled);
    expectAllClosed();
  }

  bool isPrefixOf(const std::vector<std::uint8_t>& part, const std::vector<std::uint8_t>& whole) {
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
  }
};

TEST_F(DemuxFailureTest, MissingInputCreatesNoOutput) {
  choose("FEATURE_1.EVO");
  tick(1, "VC-1.stream.0");
  EXPECT_FALSE(invoke(s, bDemuxClick));
  expectFailedWith("Cannot open file \"" + in.file("FEATURE_1.EVO") +
                   "\". No such file or directory");
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Opening file FEATURE_1.EVO");
  EXPECT_EQ(s.fMain.statusBar.panels[0], " Opening");
  EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST_F(DemuxFailureTest, UncreatableOutputFailsTheJobBeforeAnyOutputIsCreated) {
  writeEvo("FEATURE_1.EVO", feature(3));
  choose("FEATURE_1.EVO");
  tick(1, "VC-1.stream.0");
  tick(17, "DD+.stream.00");
  tick(33, "Subpicture.00");
  fs::create_directory(out.file("FEATURE_1.DD+.stream.00.mpa"));
  EXPECT_FALSE(invoke(s, bDemuxClick));

  expectFailedWith("Cannot create file \"" + out.file("FEATURE_1.DD+.stream.00.mpa") +
                   "\". Is a directory");
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "File size: 0 Mbytes.");
  EXPECT_FALSE(fs::exists(out.file("FEATURE_1.VC-1.stream.0.mpv")));
  EXPECT_FALSE(fs::exists(out.file("FEATURE_1.Subpicture.00.sup")));
  EXPECT_EQ(s.fMain.statusBar.panels[0], " Opening");  // the engine never ran
}

TEST_F(DemuxFailureTest, MissingOutputFolderIsNotCreated) {
  writeEvo("FEATURE_1.EVO", feature(1));
  choose("FEATURE_1.EVO");
  tick(17, "DD+.stream.00");
  s.fMain.eWorkdir.text = out.file("none");
  EXPECT_FALSE(invoke(s, bDemuxClick));
  expectFailedWith("Cannot create file \"" + out.file("none/FEATURE_1.DD+.stream.00.mpa") +
                   "\". No such file or directory");
  EXPECT_FALSE(fs::exists(out.file("none")));
}

TEST_F(DemuxFailureTest, WriteErrorDuringThePassKeepsWhatWasWritten) {
  auto expected = writeEvo("FEATURE_1.EVO", feature(300));
  choose("FEATURE_1.EVO");
  tick(1, "VC-1.stream.0");
  {
    FileSizeLimit full(100000);
    EXPECT_FALSE(invoke(s, bDemuxClick));
  }
  expectFailedWith("Stream write error");
  EXPECT_EQ(s.fMain.statusBar.panels[0], " Writing stream(s)");
  const auto part = output("FEATURE_1.VC-1.stream.0.mpv");
  EXPECT_EQ(part.size(), 100000u);
  EXPECT_TRUE(isPrefixOf(part, expected[1]));
}

TEST_F(DemuxFailureTest, WriteErrorWhileClosingIsAFailureToo) {
  auto expected = writeEvo("FEATURE_1.EVO", feature(30));
  choose("FEATURE_1.EVO");
  tick(1, "VC-1.stream.0");
  tick(17, "DD+.stream.00");
  // Both fit the output buffer; only the video output outgrows the disk.
  ASSERT_GT(expected[1].size(), 50000u);
  ASSERT_LT(expected[17].size(), 50000u);
  {
    FileSizeLimit full(50000);
    EXPECT_FALSE(invoke(s, bDemuxClick));
  }
  expectFailedWith("Stream write error");
  EXPECT_EQ(output("FEATURE_1.DD+.stream.00.mpa"), expected[17]);  // closed after the failure
}

TEST_F(DemuxFailureTest, LockedSecondSegmentKeepsTheCompleteFirstPass) {
  auto expected = writeEvo("FEATURE_1.EVO", feature(5));
  writeEvo("FEATURE_2.EVO", feature(5), 2);
  choose("FEATURE_1.EVO");
  tick(17, "DD+.stream.00");
  InputFile holder(in.file("FEATURE_2.EVO"), Access::Exclusive);  // another program
  EXPECT_FALSE(invoke(s, bDemuxClick));

  expectFailedWith("Cannot open file \"" + in.file("FEATURE_2.EVO") +
                   "\". The file is in use by another process.");
  EXPECT_FALSE(logged("Continue on FEATURE_2.EVO"));
  EXPECT_EQ(output("FEATURE_1.DD+.stream.00.mpa"), expected[17]);
}

TEST_F(DemuxFailureTest, TicksChangeDemuxAgainAfterAFailure) {
  choose("FEATURE_1.EVO");
  tick(17, "DD+.stream.00");
  EXPECT_FALSE(invoke(s, bDemuxClick));
  EXPECT_FALSE(s.fMain.bDemux.enabled);
  tick(18, "DD+.stream.01");
  EXPECT_TRUE(s.fMain.bDemux.enabled);
}

}  // namespace
}  // namespace tessaly
