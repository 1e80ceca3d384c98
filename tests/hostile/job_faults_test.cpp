// Faults from outside while a job runs: the input changes or goes away between or
// during the passes, the second segment's pass is stopped or meets a full disk, and an
// output name leads back to the input. Every job ends with everything closed, and the
// outputs hold exactly what was written before the fault.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "job/job_fixture.h"
#include "session/cancel.h"
#include "session/demux_click.h"
#include "session/invoke.h"
#include "support/file_size_limit.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::feature;
using testing::readFile;

constexpr int kOverFourMiB = 700;  // rounds of feature(): a file past the first progress point

bool isPrefixOf(const Bytes& part, const Bytes& whole) {
  return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

Bytes joined(Bytes first, const Bytes& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

class JobFaultTest : public testing::JobTest {
 protected:
  // A failed job: its error shown, no "Done.", everything closed.
  void expectFailedWith(const std::string& message) {
    ASSERT_FALSE(host.errors.empty());
    EXPECT_EQ(host.errors.back(), message);
    EXPECT_NE(s.fMain.mMessage.lines.back(), "Done.");
    expectAllClosed();
  }

  std::string video() const { return "FEATURE_1.VC-1.stream.0.mpv"; }
};

TEST_F(JobFaultTest, InputRemovedAfterReadEvoFailsTheDemuxBeforeAnyOutput) {
  writeEvo("FEATURE_1.EVO", feature(3));
  choose("FEATURE_1.EVO");
  ASSERT_TRUE(invoke(s, bCheckClick));
  fs::remove(in.file("FEATURE_1.EVO"));
  EXPECT_FALSE(invoke(s, bDemuxClick));
  expectFailedWith("Cannot open file \"" + in.file("FEATURE_1.EVO") +
                   "\". No such file or directory");
  EXPECT_TRUE(fs::is_empty(out.path()));
  EXPECT_TRUE(s.fMain.cbVideo[0].ticked);  // the selection survives for another try
}

TEST_F(JobFaultTest, InputThatShrinksDuringAPassEndsItWithAReadError) {
  const std::string input = in.file("FEATURE_1.EVO");
  const auto expected = writeEvo("FEATURE_1.EVO", feature(2 * kOverFourMiB));
  choose("FEATURE_1.EVO");
  host.onMessages = [&] { ASSERT_EQ(::truncate(input.c_str(), 5000000), 0); };
  EXPECT_FALSE(invoke(s, bCheckClick));
  expectFailedWith("Stream read error");

  writeEvo("FEATURE_1.EVO", feature(2 * kOverFourMiB));
  tick(1, "VC-1.stream.0");
  EXPECT_FALSE(invoke(s, bDemuxClick));
  expectFailedWith("Stream read error");
  const Bytes part = output(video());
  // Every round of feature() read before the file ended was written: one pack in three.
  const std::size_t perRound = expected.at(1).size() / (2 * kOverFourMiB);
  const std::size_t roundsRead =
      (5000000 - tools::PsWriter::kPackSize) / (3 * tools::PsWriter::kPackSize);
  EXPECT_GE(part.size(), roundsRead * perRound);
  EXPECT_LT(part.size(), expected.at(1).size());
  EXPECT_TRUE(isPrefixOf(part, expected.at(1)));
}

TEST_F(JobFaultTest, CancelDuringTheSecondPassKeepsTheFirstSegmentAndPartOfTheSecond) {
  const auto first = writeEvo("FEATURE_1.EVO", feature(kOverFourMiB), 1);
  const auto second = writeEvo("FEATURE_2.EVO", feature(kOverFourMiB), 2);
  choose("FEATURE_1.EVO");
  tick(1, "VC-1.stream.0");
  host.answers = {false, true};  // No in the first pass, Yes in the second
  host.onMessages = [&] { bCancelClick(s); };
  ASSERT_TRUE(invoke(s, bDemuxClick));

  EXPECT_TRUE(logged("Continue on FEATURE_2.EVO"));
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Done.");
  expectAllClosed();
  const Bytes both = joined(first.at(1), second.at(1));
  const Bytes part = output(video());
  EXPECT_GT(part.size(), first.at(1).size());
  EXPECT_LT(part.size(), both.size());
  EXPECT_TRUE(isPrefixOf(part, both));
}

TEST_F(JobFaultTest, FullDiskInTheSecondPassKeepsTheWholeFirstSegment) {
  const auto first = writeEvo("FEATURE_1.EVO", feature(300), 1);
  const auto second = writeEvo("FEATURE_2.EVO", feature(300), 2);
  choose("FEATURE_1.EVO");
  tick(1, "VC-1.stream.0");
  const std::size_t limit = first.at(1).size() + 100000;
  {
    testing::FileSizeLimit full(limit);
    EXPECT_FALSE(invoke(s, bDemuxClick));
  }
  expectFailedWith("Stream write error");
  EXPECT_TRUE(logged("Continue on FEATURE_2.EVO"));
  const Bytes part = output(video());
  EXPECT_EQ(part.size(), limit);
  EXPECT_TRUE(isPrefixOf(part, joined(first.at(1), second.at(1))));
}

TEST_F(JobFaultTest, OutputNameLinkedToTheInputIsRefusedAndTheInputKept) {
  writeEvo("FEATURE_1.EVO", feature(3));
  const Bytes original = readFile(in.file("FEATURE_1.EVO"));
  choose("FEATURE_1.EVO");
  ASSERT_TRUE(invoke(s, bCheckClick));
  fs::create_symlink(in.file("FEATURE_1.EVO"), out.file(video()));
  EXPECT_FALSE(invoke(s, bDemuxClick));
  expectFailedWith("Cannot create file \"" + out.file(video()) +
                   "\". It is one of the input files.");
  EXPECT_EQ(readFile(in.file("FEATURE_1.EVO")), original);
}

}  // namespace
}  // namespace tessaly
