#include "session/selection.h"

#include <gtest/gtest.h>

#include "support/recording_host.h"

namespace tessaly {
namespace {

class SelectionTest : public ::testing::Test {
 protected:
  testing::RecordingHost host;
  Session s{host};
};

TEST_F(SelectionTest, DemuxFollowsTheTicksWhateverTheEnabledState) {
  setTicked(s, s.fMain.cbAudio[2], true);
  EXPECT_TRUE(s.fMain.bDemux.enabled);
  Resetcbs(s);
  EXPECT_TRUE(s.fMain.cbAudio[2].ticked);
  EXPECT_FALSE(s.fMain.cbAudio[2].enabled);
  EXPECT_EQ(s.fMain.cbAudio[2].caption, "No audio stream");
  EXPECT_TRUE(s.fMain.bDemux.enabled);
  setTicked(s, s.fMain.cbAudio[2], false);
  EXPECT_FALSE(s.fMain.bDemux.enabled);
  setTicked(s, s.fMain.cbSub[15], true);
  EXPECT_TRUE(s.fMain.bDemux.enabled);
}

TEST_F(SelectionTest, SettingTheSameTickRunsNothing) {
  s.fMain.bDemux.enabled = true;  // set directly, as a job does
  setTicked(s, s.fMain.cbVideo[0], false);
  EXPECT_TRUE(s.fMain.bDemux.enabled);
}

TEST_F(SelectionTest, ResetCaptionsAndIdempotence) {
  Resetcbs(s);
  const Window once = s.fMain;
  Resetcbs(s);
  EXPECT_EQ(s.fMain.cbVideo[7].caption, "No video stream");
  EXPECT_EQ(s.fMain.cbSub[0].caption, "No subpicture");
  EXPECT_EQ(s.fMain.cbSub[1].hint, once.cbSub[1].hint);
  for (std::size_t n = 0; n < kAudioBoxes; ++n) {
    EXPECT_EQ(s.fMain.cbAudio[n].caption, once.cbAudio[n].caption);
  }
}

TEST_F(SelectionTest, BoxNamesRoundTrip) {
  EXPECT_EQ(boxName(BoxGroup::Video, 0), "cbVideo0");
  EXPECT_EQ(boxName(BoxGroup::Audio, 3), "cbAudio03");
  EXPECT_EQ(boxName(BoxGroup::Sub, 12), "cbSub12");
  EXPECT_EQ(findBox(s.fMain, "cbAudio03"), &s.fMain.cbAudio[3]);
  EXPECT_EQ(findBox(s.fMain, "cbSub15"), &s.fMain.cbSub[15]);
  EXPECT_EQ(findBox(s.fMain, "cbVideo7"), &s.fMain.cbVideo[7]);
  EXPECT_EQ(findBox(s.fMain, "cbAudio16"), nullptr);
  EXPECT_EQ(findBox(s.fMain, "cbAudio3"), nullptr);
}

}  // namespace
}  // namespace tessaly
