#include "session/read_evo.h"

#include "catalogue/captions.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "session/cancel.h"
#include "session/demux_click.h"
#include "session/file_choice.h"
#include "session/invoke.h"
#include "session/selection.h"
#include "support/open_files.h"
#include "support/program_stream.h"
#include "support/recording_host.h"

namespace tessaly {
namespace {

using tools::PsWriter;
using tools::Stream;

constexpr std::size_t kProgressStep = 4194304;  // the engine yields once per 4 MiB

TEST(StreamCaption, VideoHasOneDigitAudioAndSubpictureTwo) {
  EXPECT_EQ(StreamCaption(1, 0xE0), "MPEG-2.stream.0");
  EXPECT_EQ(StreamCaption(2, 0x56), "VC-1.stream.1");
  EXPECT_EQ(StreamCaption(17, 0x80), "DD.stream.00");
  EXPECT_EQ(StreamCaption(22, 0xC5), "DD+.stream.05");
  EXPECT_EQ(StreamCaption(27, 0xCA), "DD+.stream.10");
  EXPECT_EQ(StreamCaption(32, 0xCF), "DD+.stream.15");
  EXPECT_EQ(StreamCaption(33, 0x20), "Subpicture.00");
  EXPECT_EQ(StreamCaption(42, 0x20), "Subpicture.09");
  EXPECT_EQ(StreamCaption(48, 0x60), "Ext.Subpicture.15");
}

TEST(SlotBox, MapsTheThirtyFourSlotsAndNothingElse) {
  Window w;
  EXPECT_EQ(&slotBox(w, 1), &w.cbVideo[0]);
  EXPECT_EQ(&slotBox(w, 2), &w.cbVideo[1]);
  EXPECT_EQ(&slotBox(w, 17), &w.cbAudio[0]);
  EXPECT_EQ(&slotBox(w, 32), &w.cbAudio[15]);
  EXPECT_EQ(&slotBox(w, 33), &w.cbSub[0]);
  EXPECT_EQ(&slotBox(w, 48), &w.cbSub[15]);
  for (int slot : {0, 3, 16, 49, 64}) EXPECT_THROW(slotBox(w, slot), std::out_of_range);
}

class ReadEvoTest : public ::testing::Test {
 protected:
  // Writes the program stream that `build` makes as `name` in the test folder and
  // drops it on the session.
  std::string choose(const std::string& name, const testing::Build& build) {
    testing::writeProgramStream(dir.file(name), build);
    WMDropFiles(s, {dir.file(name)});
    return dir.file(name);
  }

  int tickedCount() const {
    int count = 0;
    for (const auto& box : s.fMain.cbVideo) count += box.ticked;
    for (const auto& box : s.fMain.cbAudio) count += box.ticked;
    for (const auto& box : s.fMain.cbSub) count += box.ticked;
    return count;
  }

  testing::RecordingHost host;
  Session s{host};
  testing::TempDir dir;
};

TEST_F(ReadEvoTest, FoundStreamsAreEnabledTickedAndCaptioned) {
  choose("FEATURE_1.EVO", [](PsWriter& w) {
    w.navPack();
    w.pack(Stream::vc1(1));
    w.pack(Stream::ddPlus(3));
    w.pack(Stream::mlp(1));
    w.pack(Stream::extSubpicture(15));
    w.pack(Stream::subpicture(21));  // slot 54: no box shows it
  });
  setTicked(s, s.fMain.cbVideo[5], true);  // a box without a row keeps its tick
  s.fMain.PageControl = tsXPL;
  ASSERT_TRUE(invoke(s, bCheckClick));

  const auto& w = s.fMain;
  EXPECT_FALSE(w.cbVideo[0].enabled);
  EXPECT_EQ(w.cbVideo[0].caption, "No video stream");
  EXPECT_TRUE(w.cbVideo[1].enabled && w.cbVideo[1].ticked);
  EXPECT_EQ(w.cbVideo[1].caption, "VC-1.stream.1");
  EXPECT_EQ(w.cbAudio[3].caption, "DD+.stream.03");
  EXPECT_EQ(w.cbAudio[1].caption, "MLP.stream.01");
  EXPECT_TRUE(w.cbSub[15].enabled && w.cbSub[15].ticked);
  EXPECT_EQ(w.cbSub[15].caption, "Ext.Subpicture.15");
  EXPECT_EQ(w.cbSub[5].caption, "No subpicture");
  EXPECT_FALSE(w.cbAudio[0].enabled || w.cbAudio[0].ticked);
  EXPECT_TRUE(w.cbVideo[5].ticked && !w.cbVideo[5].enabled);
  EXPECT_EQ(tickedCount(), 5);

  ASSERT_GE(w.mMessage.lines.size(), 3u);
  EXPECT_EQ(w.mMessage.lines[0], "Opening file FEATURE_1.EVO");
  EXPECT_EQ(w.mMessage.lines[1], "File size: 0 Mbytes.");
  EXPECT_EQ(w.mMessage.lines.back(), "Done.");
  EXPECT_EQ(w.statusBar.panels[0], " Ready");
  EXPECT_EQ(w.statusBar.panels[1], " ");
  EXPECT_EQ(w.PageControl, tsStatus);
  EXPECT_TRUE(w.bCheck.enabled);
  EXPECT_TRUE(w.bDemux.enabled);
  EXPECT_FALSE(testing::heldOpen(w.eEVOfile.text));
  EXPECT_FALSE(s.busy);
}

TEST_F(ReadEvoTest, SecondScanRestoresAndRemovesTicksAndDemuxFollowsThem) {
  choose("A_1.EVO", [](PsWriter& w) { w.pack(Stream::ddPlus(0)); });
  ASSERT_TRUE(invoke(s, bCheckClick));
  EXPECT_TRUE(s.fMain.bDemux.enabled);

  setTicked(s, s.fMain.cbAudio[0], false);  // the operator removes the tick
  EXPECT_FALSE(s.fMain.bDemux.enabled);
  ASSERT_TRUE(invoke(s, bCheckClick));
  EXPECT_TRUE(s.fMain.cbAudio[0].ticked);
  EXPECT_TRUE(s.fMain.bDemux.enabled);

  choose("B_1.EVO", [](PsWriter& w) { w.garbage(5000); });
  ASSERT_TRUE(invoke(s, bCheckClick));
  EXPECT_FALSE(s.fMain.cbAudio[0].ticked);
  EXPECT_EQ(s.fMain.cbAudio[0].caption, "No audio stream");
  EXPECT_FALSE(s.fMain.bDemux.enabled);

  s.fMain.bDemux.enabled = true;  // as a job leaves it; no tick changes below
  ASSERT_TRUE(invoke(s, bCheckClick));
  EXPECT_TRUE(s.fMain.bDemux.enabled);
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Done.");
}

TEST_F(ReadEvoTest, FileSizeIsLoggedInWholeMebibytesRoundedDown) {
  testing::writeFile(dir.file("short.EVO"), std::vector<std::uint8_t>(1048575));
  testing::writeFile(dir.file("exact.EVO"), std::vector<std::uint8_t>(1048576));
  WMDropFiles(s, {dir.file("short.EVO")});
  ASSERT_TRUE(invoke(s, bCheckClick));
  WMDropFiles(s, {dir.file("exact.EVO")});
  ASSERT_TRUE(invoke(s, bCheckClick));
  const auto& lines = s.fMain.mMessage.lines;
  EXPECT_NE(std::find(lines.begin(), lines.end(), "File size: 0 Mbytes."), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "File size: 1 Mbytes."), lines.end());
  EXPECT_EQ(tickedCount(), 0);
}

// A scan that the fast check cuts short says so after its lines; one that reads the
// whole file does not.
TEST_F(ReadEvoTest, FastCheckSaysWhereItStoppedTheScan) {
  const std::string path = dir.file("FEATURE_1.EVO");
  testing::writeFile(path, std::vector<std::uint8_t>{});
  ASSERT_EQ(::truncate(path.c_str(), 300100000), 0);  // zeros that take no disk space
  WMDropFiles(s, {path});
  const std::string said =
      "Fast EVO checking stopped at 300 MB; streams that begin later are not listed.";
  auto& lines = s.fMain.mMessage.lines;
  for (const bool fast : {true, false}) {
    lines.clear();
    s.fMain.cbFastCheck.ticked = fast;
    ASSERT_TRUE(invoke(s, bCheckClick));
    const std::vector<std::string> end(lines.end() - 2, lines.end());
    if (fast) {
      EXPECT_EQ(end, (std::vector<std::string>{"Done.", said}));
    } else {
      EXPECT_EQ(lines.back(), "Done.");
      EXPECT_EQ(std::count(lines.begin(), lines.end(), said), 0);
    }
  }
}

TEST_F(ReadEvoTest, MissingFileEndsTheRunAtTheOpen) {
  setTicked(s, s.fMain.cbAudio[2], true);
  WMDropFiles(s, {dir.file("missing.EVO")});
  EXPECT_FALSE(invoke(s, bCheckClick));

  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0],
            "Cannot open file \"" + dir.file("missing.EVO") + "\". No such file or directory");
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Opening file missing.EVO");
  EXPECT_EQ(s.fMain.statusBar.panels[0], " Opening");
  EXPECT_FALSE(s.fMain.bCheck.enabled);
  EXPECT_FALSE(s.fMain.cbAudio[2].enabled);
  EXPECT_TRUE(s.fMain.cbAudio[2].ticked);  // the reset keeps ticks
  EXPECT_EQ(s.fMain.cbAudio[2].caption, "No audio stream");
  EXPECT_FALSE(s.busy);

  WMDropFiles(s, {dir.file("missing.EVO")});  // choosing the file again re-enables it
  EXPECT_TRUE(s.fMain.bCheck.enabled);
}

TEST_F(ReadEvoTest, CancelAtTheFirstProgressPointKeepsWhatWasFound) {
  choose("LONG_1.EVO", [](PsWriter& w) {
    w.navPack();
    w.pack(Stream::ddPlus(0));
    w.garbage(kProgressStep);
    w.pack(Stream::mlp(1));
  });
  host.onMessages = [&] { bCancelClick(s); };
  ASSERT_TRUE(invoke(s, bCheckClick));
  EXPECT_TRUE(s.fMain.cbAudio[0].ticked);
  EXPECT_FALSE(s.fMain.cbAudio[1].ticked);
  EXPECT_TRUE(host.questions.empty());  // a scan stops without a question
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Done.");
}

TEST_F(ReadEvoTest, NoOtherJobOrFileChoiceStartsWhileTheScanRuns) {
  const std::string path = choose("LONG_1.EVO", [](PsWriter& w) {
    w.pack(Stream::ddPlus(0));
    w.garbage(kProgressStep);
  });
  setTicked(s, s.fMain.cbAudio[0], true);  // "Demux" stays enabled during the scan
  s.fMain.eWorkdir.text = dir.path();
  std::vector<bool> busyInside;
  host.onMessages = [&] {
    busyInside.push_back(s.busy);
    bCheckClick(s);
    bDemuxClick(s);
    WMDropFiles(s, {dir.file("OTHER_1.EVO")});
    bbEVOClick(s);
  };
  host.dialogChoice = dir.file("OTHER_2.EVO");
  ASSERT_TRUE(invoke(s, bCheckClick));

  EXPECT_EQ(busyInside, std::vector<bool>{true});
  EXPECT_FALSE(s.busy);
  EXPECT_EQ(s.fMain.eEVOfile.text, path);
  const auto& lines = s.fMain.mMessage.lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Opening file LONG_1.EVO"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Done."), 1);
  // An unguarded "Demux" would have created an output beside the input.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace tessaly
