#include "session/log.h"

#include <gtest/gtest.h>

#include "support/recording_host.h"

namespace tessaly {
namespace {

TEST(ReportTest, PanelsCarryALeadingSpaceAndOnlyPanelOneSetsTheHint) {
  testing::RecordingHost host;
  Session s(host);
  slog(s, "", 0);
  EXPECT_EQ(s.fMain.statusBar.panels[0], " ");
  EXPECT_EQ(s.fMain.statusBar.hint, " Select or drop an EVO file to demux");
  slog(s, "Reading a 1/2 Mbytes", 1);
  EXPECT_EQ(s.fMain.statusBar.panels[1], " Reading a 1/2 Mbytes");
  EXPECT_EQ(s.fMain.statusBar.hint, "Reading a 1/2 Mbytes");
  EXPECT_EQ(host.statusPanels, (std::vector<int>{0, 1}));
}

TEST(ReportTest, LogAppendsUnchangedAndShowsAtOnce) {
  testing::RecordingHost host;
  Session s(host);
  log(s, " two  spaces ");
  log(s, "");
  EXPECT_EQ(s.fMain.mMessage.lines, (std::vector<std::string>{" two  spaces ", ""}));
  EXPECT_EQ(host.logged, s.fMain.mMessage.lines);
}

}  // namespace
}  // namespace tessaly
