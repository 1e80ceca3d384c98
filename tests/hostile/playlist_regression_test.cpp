// Faults found in "Read XPL" by hostile playlists, one test each, named after the fault.
#include <gtest/gtest.h>

#include <algorithm>

#include "session/file_choice.h"
#include "session/invoke.h"
#include "session/read_xpl_click.h"
#include "session/session_report.h"
#include "session/xpl_choice.h"
#include "support/error_message.h"
#include "support/hostile_playlists.h"
#include "support/open_files.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tessaly {
namespace {

// Each memo line was indented by its whole depth, so a file of n unclosed tags gave
// lines of up to 2n spaces: 60 KB of "<x>" made a memo of 400 MB, a few hundred KB
// exhausted memory.
TEST(PlaylistRegression, UnclosedTagsDoNotGrowTheMemoWithTheSquareOfTheFile) {
  constexpr std::size_t kTags = 20000;
  testing::TempDir dir;
  std::string text;
  for (std::size_t n = 0; n < kTags; ++n) text += "<x>";
  testing::writeFile(dir.file("VPLST000.XPL"), text);
  testing::RecordingHost host;
  Session s{host};
  s.fMain.eXPLfile.text = dir.file("VPLST000.XPL");
  bReadXPLClick(s);

  const auto& lines = s.fMain.mXPL.lines;
  ASSERT_EQ(lines.size(), kTags);
  EXPECT_EQ(lines[9], std::string(18, ' ') + "<x>");  // shallow nesting as the format says
  std::size_t total = 0;
  for (const auto& line : lines) {
    EXPECT_LE(line.size(), 2 * 64 + 3u);
    total += line.size();
  }
  EXPECT_LE(total, kTags * (2 * 64 + 3));
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Done.");
}

// A 100 MB playlist took 9 GB: every tag became a memo line of its own, however short,
// and the title phase added a tree node and a log line of up to 750 characters for a
// line of 70. Now the size is limited and so is what any playlist within it can give.
TEST(PlaylistRegression, PlaylistsHaveASaneSizeAndBoundedMemory) {
  testing::TempDir dir;
  testing::RecordingHost host;
  Session s{host};
  s.fMain.eXPLfile.text = dir.file("VPLST000.XPL");
  testing::writeFile(s.fMain.eXPLfile.text, std::string(testing::kLargestPlaylist + 1, '>'));
  EXPECT_EQ(
      testing::messageOf([&] { bReadXPLClick(s); }),
      "Cannot open file \"" + dir.file("VPLST000.XPL") + "\". The playlist is larger than 16 MiB");
  EXPECT_TRUE(s.fMain.mMessage.lines.empty());
  EXPECT_FALSE(testing::heldOpen(s.fMain.eXPLfile.text));

  // A tag keeps its first 64 KiB, the memo its first 65,536 lines, and the log says so.
  s.XPLname = "VPLST000.XPL";
  testing::writeFile(s.fMain.eXPLfile.text,
                     "<a b=\"1\" " + std::string(100000, 'x') + ">" + std::string(70000, '>'));
  bReadXPLClick(s);
  const auto& memo = s.fMain.mXPL.lines;
  ASSERT_EQ(memo.size(), 65536u);
  EXPECT_EQ(memo[0].size(), 65536u);
  EXPECT_EQ(memo[0].substr(0, 12), "<a b=\"1\" xxx");
  EXPECT_EQ(memo[1], "  ");  // a ">" between tags: a line of indentation only
  EXPECT_EQ(s.fMain.mMessage.lines,
            (std::vector<std::string>{"Open VPLST000.XPL", "Filesize: 170010 bytes",
                                      "Warning: the playlist has 70001 tags; the memo shows "
                                      "the first 65536.",
                                      "Done."}));
  s.fMain.mMessage.lines.clear();

  s.BaseName = "FEATURE_1";  // the title shape plays it
  for (const auto& path : testing::writeHostilePlaylists(dir)) {
    SCOPED_TRACE(path);
    s.fMain.eXPLfile.text = path;
    bReadXPLClick(s);
    ASSERT_LE(memo.size(), 65536u);
    std::size_t memoBytes = 0;
    for (const auto& line : memo) {
      EXPECT_LE(line.size(), 65536u);
      memoBytes += line.size();
    }
    EXPECT_LE(memoBytes, testing::kLargestPlaylist + 65536 * 128);
    std::size_t entries = 0;
    for (const auto& node : s.fMain.tvXPL.nodes) {
      entries += node.children.size();
      for (const auto& entry : node.children) EXPECT_LE(entry.text.size(), 2 * 255 + 2u);
    }
    EXPECT_LE(entries, 32769u);
    EXPECT_LE(s.fMain.mMessage.lines.size(), 32768 + 5u);
    for (const auto& line : s.fMain.mMessage.lines) EXPECT_LE(line.size(), 300 + 7u);
    EXPECT_EQ(s.fMain.mMessage.lines.back(), "Done.");
    s.fMain.mMessage.lines.clear();
  }
  // The last shape, the title: its entries fill the tree, which says so where it stopped.
  const auto& nodes = s.fMain.tvXPL.nodes;
  std::size_t entries = 0;
  for (const auto& node : nodes) entries += node.children.size();
  EXPECT_EQ(entries, 32769u);
  EXPECT_TRUE(std::any_of(nodes.begin(), nodes.end(), [](const TreeNode& node) {
    return !node.children.empty() && node.children.back().text == "(further entries left out)";
  }));
}

// With more than 999 titles, the title that plays the EVO file lay past the cap, and
// title 999's name and chapters were used instead. It is found whatever its place, and
// a file that no title plays gets none.
TEST(PlaylistRegression, TheTitleCapNeverChoosesAnotherTitle) {
  testing::TempDir dir;
  std::string text = "<TitleSet timeBase=\"50fps\">\n";
  for (int n = 1; n <= 1200; ++n) {
    const std::string clip = n == 1100 ? "FEATURE_1" : "OTHER_" + std::to_string(n);
    text += "<Title displayName=\"T" + std::to_string(n) + "\">\n<PrimaryAudioVideoClip src=\"" +
            clip + ".MAP\"/>\n<ChapterList><Chapter titleTimeBegin=\"00:00:0" +
            std::to_string(n % 10) + ":00\"/></ChapterList>\n</Title>\n";
  }
  testing::writeFile(dir.file("VPLST000.XPL"), text + "</TitleSet>\n");
  testing::RecordingHost host;
  Session s{host};
  for (const auto& [evo, name] : {std::pair{"FEATURE_1.EVO", "T1100"}, {"NONE_1.EVO", ""}}) {
    SCOPED_TRACE(evo);
    testing::writeFile(dir.file(evo), "");
    WMDropFiles(s, {dir.file(evo)});
    s.fMain.eXPLfile.text = dir.file("VPLST000.XPL");
    XPLadj(s);
    ASSERT_TRUE(invoke(s, bReadXPLClick));
    const TitleFacts* title = chosenTitle(s);
    EXPECT_EQ(title ? title->name : "", name);
    if (title) {
      EXPECT_EQ(title->chapters.at(0).startMs, 0);  // title 1100's, not 999's (9 s)
    }
    EXPECT_LE(s.Playlist.titles.size(), 1000u);
  }
}

}  // namespace
}  // namespace tessaly
