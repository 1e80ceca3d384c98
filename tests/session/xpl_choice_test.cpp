#include "session/xpl_choice.h"

#include <gtest/gtest.h>

#include "session/file_choice.h"
#include "support/recording_host.h"

namespace tessaly {
namespace {

class XplChoiceTest : public ::testing::Test {
 protected:
  testing::RecordingHost host;
  Session s{host};
};

TEST_F(XplChoiceTest, CancelledBrowseTakesWhatTheDialogHeld) {
  bbXPLClick(s);  // nothing held: the choice is emptied
  EXPECT_EQ(s.fMain.eXPLfile.text, "");
  EXPECT_EQ(s.XPLname, "");
  EXPECT_FALSE(s.fMain.bReadXPL.enabled);

  WMDropFiles(s, {"/x/FEATURE_1.EVO"});  // presets the bare name outside a disc folder
  s.fMain.odXPL.fileName = "VPLST000.XPL";
  bbXPLClick(s);
  EXPECT_EQ(s.XPLname, "VPLST000.XPL");
  EXPECT_EQ(s.XPLdir, "");
  EXPECT_TRUE(s.fMain.bReadXPL.enabled);
  EXPECT_EQ(s.EVOdir, "/x/");
}

TEST_F(XplChoiceTest, OnlyAFolderEndingInAdvObjPointsTheEvoDialog) {
  host.dialogChoice = "/d/adv_obj/VPLST000.XPL";
  bbXPLClick(s);
  EXPECT_EQ(s.EVOdir, "");
  EXPECT_EQ(s.fMain.odXPL.initialDir, "");  // the dialog opened at the former XPLdir

  host.dialogChoice = "/d/X_ADV_OBJ/VPLST000.XPL";
  bbXPLClick(s);
  EXPECT_EQ(s.fMain.odXPL.initialDir, "/d/adv_obj/");
  EXPECT_EQ(s.EVOdir, "/d/X_HVDVD_TS/");
  EXPECT_EQ(s.fMain.odEVOfile.initialDir, "/d/X_HVDVD_TS/");
}

}  // namespace
}  // namespace tessaly
