#include "playlist/title_phase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"
#include "playlist/title_cut.h"
#include "sample_playlists.h"
#include "session/read_xpl_click.h"
#include "session/session_observer.h"
#include "support/recording_host.h"

namespace tessaly {
namespace {

using Lines = std::vector<std::string>;

using testing::kTitleLines;

class TitlePhaseTest : public ::testing::Test {
 protected:
  TitlePhaseTest() {
    s.VideoAttr[0] = "VC-1";
    s.AudioAttr[0] = "DD+.6ch";
    s.SubAttr[0] = "SP";
    run.PlaylistName = "Sample Disc";
  }
  // The title phase over `lines` as "Read XPL" runs it, shown in the session also when
  // it fails.
  void titles(const std::string& baseName, const Lines& lines) {
    s.BaseName = baseName;
    XplResult result;
    result.memo = lines;
    result.tree = s.fMain.tvXPL.nodes;
    result.table = s.StreamTable;
    result.attributes = {s.VideoAttr, s.AudioAttr, s.SubAttr};
    TitleMatch match(baseName);
    for (const auto& line : lines) match.tag(line);
    SessionObserver observer(s);
    try {
      titlePhase(result, match.index(), run, observer);
    } catch (...) {
      showXpl(s, result);
      throw;
    }
    showXpl(s, result);
  }
  Lines children(std::size_t node) const {
    Lines texts;
    for (const auto& child : s.fMain.tvXPL.nodes.at(node).children) texts.push_back(child.text);
    return texts;
  }
  // The marked slots among 1..48.
  std::vector<int> marks() {
    std::vector<int> slots;
    for (int slot = 1; slot <= 48; ++slot) {
      if (s.StreamTable[slot] != -1) slots.push_back(slot);
    }
    return slots;
  }

  testing::RecordingHost host;
  Session s{host};
  XplRun run;
};

TEST_F(TitlePhaseTest, LabelsTheTitleThatPlaysTheEvo) {
  s.StreamTable[20] = 7;  // left by an engine pass
  s.StreamTable[50] = 7;  // beyond the marks
  titles("FEATURE_1", kTitleLines);
  EXPECT_EQ(s.fMain.mXPL.lines, Lines(kTitleLines.begin() + 4, kTitleLines.begin() + 14));
  std::vector<std::string> tops;
  for (const auto& node : s.fMain.tvXPL.nodes) tops.push_back(node.text);
  EXPECT_EQ(tops, (Lines{"Info", "Video", "Audio", "Subtitle", "Chapter"}));
  EXPECT_EQ(children(0), (Lines{"Title: Sample Disc", "Name: Main", "Duration: 01:30:00"}));
  EXPECT_EQ(children(1), Lines{"VC-1.stream.0"});
  EXPECT_EQ(children(2), Lines{"DD+.6ch.stream.00.English"});
  EXPECT_EQ(children(3), Lines{"SP.stream.01.French"});
  EXPECT_EQ(children(4), (Lines{"00:00:00: Start", "00:45:00: Start"}));
  EXPECT_EQ(host.logged, (Lines{"VC-1.stream.0 found!", "DD+.6ch.stream.00.English found!",
                                "SP.stream.01.French found!"}));
  const auto& w = s.fMain;
  EXPECT_EQ(w.cbVideo[0].caption, "VC-1.stream.0");
  EXPECT_EQ(w.cbVideo[0].hint, "");
  EXPECT_EQ(w.cbAudio[0].hint, "DD+.6ch.stream.00.English");
  EXPECT_EQ(w.cbSub[1].caption, "SP.stream.01.French");
  EXPECT_EQ(w.cbSub[1].hint, "SP.stream.01.French");
  for (const CheckBox* box : {&w.cbVideo[0], &w.cbAudio[0], &w.cbSub[1]}) {
    EXPECT_TRUE(box->enabled && box->ticked) << box->caption;
  }
  EXPECT_FALSE(w.cbAudio[1].ticked || w.cbSub[0].ticked || w.cbVideo[1].ticked);
  EXPECT_TRUE(w.bDemux.enabled);
  EXPECT_EQ(marks(), (std::vector<int>{1, 17, 34}));
  EXPECT_EQ(s.StreamTable[50], 7);
}

TEST_F(TitlePhaseTest, NoUsableMatchKeepsMemoTreeAndBoxes) {
  // Case-sensitive base name, no EVO chosen, and a match on line 0 only.
  for (const char* baseName : {"feature_1", "", "Sample Disc"}) {
    titles(baseName, kTitleLines);
    EXPECT_EQ(s.fMain.mXPL.lines, kTitleLines) << baseName;
    EXPECT_EQ(s.fMain.tvXPL.nodes.size(), 4u) << baseName;
    EXPECT_FALSE(s.fMain.cbVideo[0].ticked) << baseName;
  }
}

TEST_F(TitlePhaseTest, TitleStartIsSearchedAboveTheMatchLine) {
  titles("Main", kTitleLines);  // matches the Main title line itself: the Extras title is taken
  EXPECT_EQ(s.fMain.mXPL.lines, Lines(kTitleLines.begin() + 1, kTitleLines.begin() + 4));
  EXPECT_EQ(children(0), (Lines{"Title: Sample Disc", "Name: Extras", "Duration: 00:05:00"}));

  run.PlaylistName.clear();
  titles("HVDVD_TS", {"<List>", "<a src=\"HVDVD_TS\"/>", "</TITLESET>", "</title>", "<b/>"});
  EXPECT_EQ(s.fMain.mXPL.lines, (Lines{"<List>", "<a src=\"HVDVD_TS\"/>", "</TITLESET>"}));
  EXPECT_EQ(children(0), Lines{});
}

TEST_F(TitlePhaseTest, NumbersOutsideTheBoxesTouchNoOtherGroup) {
  titles("FEATURE_1", {
                          "<Title>",
                          "<Clip src=\"FEATURE_1.MAP\"/>",
                          "<Video track=\"17\" mediaAttr=\"1\"/>",
                          "<Video track=\"17\" mediaAttr=\"1\"/>",
                          "<Video track=\"2\" mediaAttr=\"9\"/>",
                          "<Audio streamNumber=\"17\" mediaAttr=\"1\" description=\"X\"/>",
                          "<Audio streamNumber=\"0\" mediaAttr=\"0\" description=\"Y\"/>",
                          "<Subtitle streamNumber=\"-2147483648\" mediaAttr=\"1\"/>",
                          "<Subtitle streamNumber=\"16\" mediaAttr=\"1\" description=\"Last\"/>",
                      });
  EXPECT_EQ(children(1), (Lines{"VC-1.stream.16", ".stream.1"}));
  EXPECT_EQ(children(2), (Lines{"DD+.6ch.stream.16.X", ".stream.-1.Y"}));
  EXPECT_EQ(children(3), (Lines{"SP.stream.-2147483649.", "SP.stream.15.Last"}));
  EXPECT_EQ(host.logged.size(), 6u);
  EXPECT_EQ(marks(), (std::vector<int>{2, 48}));
  int ticked = 0;
  for (const auto& box : s.fMain.cbAudio) ticked += box.ticked;
  for (const auto& box : s.fMain.cbVideo) ticked += box.ticked;
  EXPECT_EQ(ticked, 0);
  EXPECT_TRUE(s.fMain.cbSub[15].ticked);
}

TEST_F(TitlePhaseTest, ConversionFailureKeepsWhatWasDone) {
  Lines lines = kTitleLines;
  lines[7] = "        <Audio streamNumber=\"1 \" mediaAttr=\"1\"/>";
  EXPECT_THROW(
      {
        try {
          titles("FEATURE_1", lines);
        } catch (const Error& error) {
          EXPECT_STREQ(error.what(), "'1 ' is not a valid integer value");
          throw;
        }
      },
      Error);
  EXPECT_EQ(children(1), Lines{"VC-1.stream.0"});
  EXPECT_TRUE(s.fMain.cbVideo[0].ticked);
  EXPECT_EQ(marks(), std::vector<int>{1});
}

}  // namespace
}  // namespace tessaly
