// Faults found in "Read XPL" by hostile playlists, one test each, named after the fault.
#include <gtest/gtest.h>

#include "playlist/read_xpl.h"
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

}  // namespace
}  // namespace tessaly
