#include "session/file_choice.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "session/cancel.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tessaly {
namespace {

class FileChoiceTest : public ::testing::Test {
 protected:
  testing::RecordingHost host;
  Session s{host};
};

TEST_F(FileChoiceTest, EvoInDiscFolderDerivesThePlaylistBeside) {
  WMDropFiles(s, {"/media/disc/HVDVD_TS/FEATURE_1.EVO"});
  EXPECT_EQ(s.EVOname, "FEATURE_1.EVO");
  EXPECT_EQ(s.BaseName, "FEATURE_1");
  EXPECT_EQ(s.EVOdir, "/media/disc/HVDVD_TS/");
  EXPECT_EQ(s.XPLdir, "/media/disc/ADV_OBJ/");
  EXPECT_EQ(s.XPLname, "VPLST000.XPL");
  EXPECT_EQ(s.fMain.eXPLfile.text, "/media/disc/ADV_OBJ/VPLST000.XPL");
  EXPECT_EQ(s.fMain.odXPL.initialDir, "/media/disc/ADV_OBJ/");
  EXPECT_EQ(s.fMain.odXPL.fileName, "VPLST000.XPL");
  EXPECT_EQ(s.fMain.odEVOfile.initialDir, "/media/disc/HVDVD_TS/");
  EXPECT_TRUE(s.fMain.bCheck.enabled);
  EXPECT_TRUE(s.fMain.bReadXPL.enabled);
}

TEST_F(FileChoiceTest, LowerCaseDiscFolderDerivesNothingAndKeepsReadXplAsItWas) {
  WMDropFiles(s, {"/media/disc/hvdvd_ts/feature_1.evo"});
  EXPECT_EQ(s.fMain.eEVOfile.text, "/media/disc/hvdvd_ts/feature_1.evo");
  EXPECT_EQ(s.fMain.eXPLfile.text, "VPLST000.XPL");
  EXPECT_EQ(s.XPLname, "");
  EXPECT_FALSE(s.fMain.bReadXPL.enabled);

  s.XPLname = "VPLST000.XPL";
  WMDropFiles(s, {"/elsewhere/A.EVO"});
  EXPECT_TRUE(s.fMain.bReadXPL.enabled);
}

TEST_F(FileChoiceTest, ShortNamesGiveAnEmptyBaseNameAndNoFolder) {
  WMDropFiles(s, {"a.EVO"});
  EXPECT_EQ(s.EVOname, "a.EVO");
  EXPECT_EQ(s.BaseName, "a");
  EXPECT_EQ(s.EVOdir, "");
  s.fMain.eEVOfile.text = ".EVO";
  EVOadj(s);
  EXPECT_EQ(s.BaseName, "");
  s.fMain.eEVOfile.text = "";
  EVOadj(s);
  EXPECT_FALSE(s.fMain.bCheck.enabled);
}

TEST_F(FileChoiceTest, ColonIsAnOrdinaryCharacter) {
  WMDropFiles(s, {"/discs/a:b/FEATURE_1.EVO"});
  EXPECT_EQ(s.EVOname, "FEATURE_1.EVO");
  EXPECT_EQ(s.EVOdir, "/discs/a:b/");
}

TEST_F(FileChoiceTest, DropTakesTheFirstFileOnlyAndIgnoresOtherExtensions) {
  WMDropFiles(s, {"/x/notes.txt", "/x/FEATURE_1.EVO"});
  EXPECT_EQ(s.fMain.eEVOfile.text, "");
  EXPECT_EQ(s.EVOname, "");
  WMDropFiles(s, {"/x/FEATURE_1.Evo", "/y/VPLST000.XPL"});
  EXPECT_EQ(s.fMain.eEVOfile.text, "/x/FEATURE_1.Evo");
  WMDropFiles(s, {"/x/EVO"});  // no dot: no extension
  EXPECT_EQ(s.fMain.eEVOfile.text, "/x/FEATURE_1.Evo");
  WMDropFiles(s, {});
  EXPECT_EQ(s.fMain.eEVOfile.text, "/x/FEATURE_1.Evo");
  // Any program stream's name, in any case; not one merely close to them.
  for (const std::string name : {"/x/VTS_01_1.VOB", "/x/clip.mpg", "/x/clip.Mpeg", "/x/A.EVO"}) {
    WMDropFiles(s, {name});
    EXPECT_EQ(s.fMain.eEVOfile.text, name);
  }
  for (const std::string name : {"/x/clip.mp4", "/x/clip.mpegx", "/x/clip.MPE"}) {
    WMDropFiles(s, {name});
    EXPECT_EQ(s.fMain.eEVOfile.text, "/x/A.EVO") << name;
  }
}

TEST_F(FileChoiceTest, DroppedPlaylistInAdvObjPointsTheEvoDialogAtTheDisc) {
  WMDropFiles(s, {"/d/ADV_OBJ/vplst000.xpl"});
  EXPECT_EQ(s.XPLname, "vplst000.xpl");
  EXPECT_EQ(s.XPLdir, "/d/ADV_OBJ/");
  EXPECT_EQ(s.EVOdir, "/d/HVDVD_TS/");
  EXPECT_EQ(s.fMain.odEVOfile.initialDir, "/d/HVDVD_TS/");
  EXPECT_TRUE(s.fMain.bReadXPL.enabled);
  EXPECT_EQ(s.fMain.eEVOfile.text, "");
}

TEST_F(FileChoiceTest, ChoicesAreIgnoredWhileAJobRuns) {
  JobGuard job(s);
  WMDropFiles(s, {"/x/FEATURE_1.EVO"});
  host.dialogChoice = "/x/FEATURE_2.EVO";
  bbEVOClick(s);
  EXPECT_EQ(s.fMain.eEVOfile.text, "");
}

TEST_F(FileChoiceTest, CancelledDialogStillTakesItsCurrentFileName) {
  s.fMain.odEVOfile.fileName = "/old/OLD_1.EVO";
  bbEVOClick(s);
  EXPECT_EQ(s.fMain.eEVOfile.text, "/old/OLD_1.EVO");
  EXPECT_EQ(s.BaseName, "OLD_1");
}

TEST_F(FileChoiceTest, ChosenFileMakesItsFolderCurrent) {
  testing::TempDir dir;
  const auto before = std::filesystem::current_path();
  host.dialogChoice = dir.file("FEATURE_1.EVO");
  bbEVOClick(s);
  EXPECT_EQ(std::filesystem::current_path().string() + "/", dir.path());
  std::filesystem::current_path(before);
}

TEST_F(FileChoiceTest, CancelAsksOnlyWhileWriting) {
  bCancelClick(s);
  EXPECT_TRUE(s.StopRequested);
  EXPECT_TRUE(host.questions.empty());

  s.StopRequested = false;
  s.Writing = true;
  host.answers = {false, true};
  bCancelClick(s);
  EXPECT_FALSE(s.StopRequested);
  bCancelClick(s);
  EXPECT_TRUE(s.StopRequested);
  // Clicked again while the stop is under way (a child winding down): no second question.
  bCancelClick(s);
  EXPECT_TRUE(s.StopRequested);
  EXPECT_EQ(host.questions, std::vector<std::string>(2, "Are you sure to stop demuxing?"));
}

}  // namespace
}  // namespace tessaly
