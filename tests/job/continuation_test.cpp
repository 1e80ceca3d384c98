#include <gtest/gtest.h>

#include <filesystem>

#include "job_fixture.h"
#include "session/cancel.h"
#include "session/demux_click.h"
#include "session/invoke.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::feature;

constexpr int kProgressRounds = 1000;  // over 4 MiB: the engine lets messages through

class ContinuationTest : public testing::JobTest {
 protected:
  // FEATURE_1.EVO (or `first`) and its second segment; the DD+ 0 box is ticked.
  void writePair(const std::string& first, const std::string& second, int rounds = 4) {
    firstPart = writeEvo(first, feature(rounds), 1)[17];
    secondPart = writeEvo(second, feature(3), 2)[17];
    choose(first);
    tick(17, "DD+.stream.00");
  }

  std::vector<std::uint8_t> written() const { return output(s.BaseName + ".DD+.stream.00.mpa"); }

  std::vector<std::uint8_t> bothParts() const {
    auto both = firstPart;
    both.insert(both.end(), secondPart.begin(), secondPart.end());
    return both;
  }

  bool continued() const {
    for (const auto& line : s.fMain.mMessage.lines) {
      if (line.rfind("Continue on ", 0) == 0) return true;
    }
    return false;
  }

  std::vector<std::uint8_t> firstPart;
  std::vector<std::uint8_t> secondPart;
};

TEST_F(ContinuationTest, SecondSegmentIsAppendedToTheSameOutputs) {
  writePair("FEATURE_1.EVO", "FEATURE_2.EVO");
  ASSERT_TRUE(invoke(s, bDemuxClick));

  EXPECT_EQ(written(), bothParts());
  const auto& lines = s.fMain.mMessage.lines;
  const auto creating =
      std::find(lines.begin(), lines.end(), "Creating " + out.file("FEATURE_1.DD+.stream.00.mpa"));
  const auto next = std::find(lines.begin(), lines.end(), "Continue on FEATURE_2.EVO");
  ASSERT_NE(next, lines.end());
  EXPECT_LT(creating, next);
  EXPECT_EQ(lines.back(), "Done.");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind("File size: ", 0) == 0; }),
            1);
  EXPECT_EQ(s.BaseName, "FEATURE_1");  // never extended with "_2"
  EXPECT_TRUE(s.fMain.bDemux.enabled);
  expectAllClosed();
}

TEST_F(ContinuationTest, OnlyAnUpperCaseFirstSegmentWithAFileBesideItContinues) {
  struct Case {
    const char* first;
    const char* second;
  };
  // In this order: FEATURE_2.EVO must not exist yet for the first case.
  for (const Case c : {Case{"FEATURE_1.EVO", "OTHER_2.EVO"}, Case{"feature_1.evo", "feature_2.evo"},
                       Case{"FEATURE_2.EVO", "FEATURE_3.EVO"}}) {
    SCOPED_TRACE(c.first);
    writePair(c.first, c.second);
    ASSERT_TRUE(invoke(s, bDemuxClick));
    EXPECT_FALSE(continued());
    EXPECT_EQ(written(), firstPart);
  }
}

TEST_F(ContinuationTest, AFolderNamedLikeTheSecondSegmentDoesNotCount) {
  writePair("FEATURE_1.EVO", "OTHER.EVO");
  fs::create_directory(in.file("FEATURE_2.EVO"));
  ASSERT_TRUE(invoke(s, bDemuxClick));
  EXPECT_FALSE(continued());
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Done.");
}

TEST_F(ContinuationTest, OptionOffAtTheStartNeverContinues) {
  writePair("FEATURE_1.EVO", "FEATURE_2.EVO", kProgressRounds);
  s.fMain.cbContinue.ticked = false;
  host.onMessages = [&] { s.fMain.cbContinue.ticked = true; };
  ASSERT_TRUE(invoke(s, bDemuxClick));
  EXPECT_GT(host.messageRounds, 0);
  EXPECT_FALSE(continued());
  EXPECT_EQ(written(), firstPart);
}

TEST_F(ContinuationTest, OptionAndSecondFileAreTestedAgainAfterTheFirstPass) {
  writePair("FEATURE_1.EVO", "OTHER.EVO", kProgressRounds);
  host.onMessages = [&] { s.fMain.cbContinue.ticked = false; };
  ASSERT_TRUE(invoke(s, bDemuxClick));
  EXPECT_FALSE(continued());

  // FEATURE_2.EVO appears only while the first pass runs: it is found afterwards.
  s.fMain.cbContinue.ticked = true;
  host.onMessages = [&] {
    fs::copy_file(in.file("OTHER.EVO"), in.file("FEATURE_2.EVO"),
                  fs::copy_options::overwrite_existing);
  };
  ASSERT_TRUE(invoke(s, bDemuxClick));
  EXPECT_TRUE(continued());
  EXPECT_EQ(written(), bothParts());
}

TEST_F(ContinuationTest, CancelAsksWhileWritingAndAStoppedPassNeverContinues) {
  writePair("FEATURE_1.EVO", "FEATURE_2.EVO", kProgressRounds);
  host.answers = {false};
  host.onMessages = [&] { bCancelClick(s); };
  ASSERT_TRUE(invoke(s, bDemuxClick));
  EXPECT_EQ(host.questions.front(), "Are you sure to stop demuxing?");
  EXPECT_TRUE(continued());  // "No" lets the job go on
  EXPECT_EQ(written(), bothParts());

  s.fMain.mMessage.lines.clear();
  host.answers = {true};
  ASSERT_TRUE(invoke(s, bDemuxClick));
  EXPECT_FALSE(continued());
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Done.");
  EXPECT_TRUE(s.fMain.bDemux.enabled);
  const auto part = written();
  ASSERT_LT(part.size(), firstPart.size());
  EXPECT_TRUE(std::equal(part.begin(), part.end(), firstPart.begin()));
  expectAllClosed();
}

}  // namespace
}  // namespace tessaly
