#include "session/read_xpl_click.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"
#include "playlist/xpl_scanner.h"
#include "sample_playlists.h"
#include "session/file_choice.h"
#include "session/invoke.h"
#include "session/read_evo.h"
#include "session/xpl_choice.h"
#include "support/open_files.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "tools/ps_writer.h"

namespace tessaly {
namespace {

using Lines = std::vector<std::string>;

using testing::kAttributeLists;

class ReadXplTest : public ::testing::Test {
 protected:
  // Writes the playlist, chooses it as bbXPL would, and runs "Read XPL".
  bool readXpl(const std::string& text) {
    testing::writeFile(path, text);
    s.fMain.eXPLfile.text = path;
    XPLadj(s);
    return invoke(s, bReadXPLClick);
  }
  bool endedAsFailure() const {
    return !s.fMain.mXPL.visible && !s.fMain.bReadXPL.enabled && !testing::heldOpen(path) &&
           std::find(host.logged.begin(), host.logged.end(), "Done.") == host.logged.end();
  }

  testing::RecordingHost host;
  Session s{host};
  testing::TempDir dir;
  std::string path = dir.file("VPLST000.XPL");
};

TEST_F(ReadXplTest, AttributeListsExampleAndListsSurvivingTheNextRun) {
  ASSERT_TRUE(readXpl(kAttributeLists));
  const auto& w = s.fMain;
  ASSERT_EQ(w.mXPL.lines.size(), 9u);
  EXPECT_EQ(w.mXPL.lines[6],
            "    <AudioAttributeItem index=\"2\" codec=\"MLP\"         channels=\"8\"/>");
  EXPECT_EQ(s.VideoAttr[0], "VC-1");
  EXPECT_EQ(s.AudioAttr[0], "DD+.6ch");
  EXPECT_EQ(s.AudioAttr[1], "MLP.8ch");
  EXPECT_EQ(host.logged,
            (Lines{"Open VPLST000.XPL",
                   "Filesize: " + std::to_string(kAttributeLists.size()) + " bytes", "Done."}));
  EXPECT_EQ(w.statusBar.panels, (std::array<std::string, 2>{" Ready", " "}));
  EXPECT_TRUE(w.mXPL.visible && w.bReadXPL.enabled && !testing::heldOpen(path));
  EXPECT_EQ(w.PageControl, tsXPL);
  EXPECT_EQ(w.tvXPL.nodes.size(), 4u);  // no EVO chosen: the tree stays

  // Another playlist sets only the entries it names; indexes outside 1..8 set none. An
  // audio item without channels repeats the last suffix found in this run, if any.
  ASSERT_TRUE(
      readXpl("<AudioAttributeItem index=\"2\" codec=\"DTS\"/><AudioAttributeItem index=\"3\" "
              "codec=\"DD\" channels=\"2\"/><AudioAttributeItem index=\"4\" codec=\"LPCM\"/>"
              "<VideoAttributeItem index=\"9\" codec=\"X\"/><SubpictureAttributeItem index=\"0\" "
              "codec=\"X\"/><VideoAttributeItem index=\"-1\" codec=\"X\"/>"));
  EXPECT_EQ(s.AudioAttr, (std::array<std::string, 8>{"DD+.6ch", "DTS", "DD.2ch", "LPCM.2ch"}));
  EXPECT_EQ(s.VideoAttr, (std::array<std::string, 8>{"VC-1"}));
  EXPECT_EQ(s.SubAttr, (std::array<std::string, 8>{}));
}

TEST_F(ReadXplTest, DiscPlaylistLabelsTheBoxesAndKeepsItsName) {
  s.BaseName = "FEATURE_1";
  ASSERT_TRUE(readXpl(testing::discPlaylist()));
  EXPECT_EQ(s.fMain.mXPL.lines.size(), 10u);
  EXPECT_EQ(s.fMain.mXPL.lines[0], "  <Title displayName=\"Main\" titleDuration=\"01:30:00\">");
  const auto& info = s.fMain.tvXPL.nodes.at(0);
  ASSERT_EQ(info.children.size(), 3u);
  EXPECT_EQ(info.children[0].text, "Title: Sample Disc");  // "</Playlist>" kept the name
  EXPECT_EQ(s.fMain.cbAudio[0].caption, "DD+.6ch.stream.00.English");
  EXPECT_EQ(host.logged.at(4), "SP.stream.01.French found!");
  EXPECT_TRUE(s.fMain.mXPL.visible);
}

// A playlist over two chunks: a "<" ends the first chunk and its "/" starts the second.
TEST_F(ReadXplTest, ChunkBoundariesAndAFailureInTheLastChunk) {
  std::string text = "<Playlist displayName=\"Big\">\n  <List>\n";
  for (int n = 0; text.size() < 32000; ++n) {
    text += "    <Item n=\"" + std::to_string(n) + "\"/>\n";
  }
  text += std::string(32767 - text.size(), ' ') + "</List>\n  <List>\n";
  while (text.size() < 70000) text += "    <!-- filler -->\n";
  text += "<VideoAttributeItem index=\"1\" codec=\"VC-1\"/><VideoAttributeItem index=\"one\"/>";
  ASSERT_FALSE(readXpl(text));

  EXPECT_EQ(host.errors, Lines{"'one' is not a valid integer value"});
  EXPECT_TRUE(endedAsFailure());
  EXPECT_EQ(s.VideoAttr[0], "VC-1");
  Lines whole;
  XplScanner scanner([&](const std::string& tag) { whole.push_back(tag); });
  scanner.feed({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  EXPECT_EQ(s.fMain.mXPL.lines, whole);
  EXPECT_NE(std::find(whole.begin(), whole.end(), "  </List>"), whole.end());
  const std::string size = std::to_string(text.size());
  EXPECT_EQ(s.fMain.statusBar.panels[1], " " + size + "/" + size + " bytes");
  EXPECT_EQ(std::count(host.statusPanels.begin(), host.statusPanels.end(), 1), 3);
  EXPECT_EQ(host.messageRounds, 0);  // the run lets no window events through
}

TEST_F(ReadXplTest, EmptyFileRunsToTheEndWithoutChunks) {
  s.fMain.mXPL.lines = {"from the last run"};
  ASSERT_TRUE(readXpl(""));
  EXPECT_TRUE(s.fMain.mXPL.lines.empty());
  EXPECT_EQ(host.logged, (Lines{"Open VPLST000.XPL", "Filesize: 0 bytes", "Done."}));
  EXPECT_EQ(host.statusPanels, (std::vector<int>{0, 1}));
}

TEST_F(ReadXplTest, OpenFailureEndsTheRunAfterTheReset) {
  testing::writeFile(path, kAttributeLists);
  const InputFile holder(path, Access::Exclusive);
  s.fMain.cbAudio[3] = {true, true, "DD.stream.03", ""};
  ASSERT_FALSE(readXpl(kAttributeLists));
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0].rfind("Cannot open file \"" + path + "\". ", 0), 0u);
  EXPECT_EQ(s.fMain.cbAudio[3].caption, "No audio stream");
  EXPECT_FALSE(s.fMain.cbAudio[3].enabled);
  EXPECT_EQ(s.fMain.PageControl, tsXPL);
  EXPECT_FALSE(s.fMain.bReadXPL.enabled);
  EXPECT_TRUE(host.logged.empty());
}

// A click on "Read XPL" while a "Read EVO" pass lets window events through.
TEST_F(ReadXplTest, RefusesToStartWhileAnEnginePassRuns) {
  tools::MemorySink evo;
  tools::PsWriter writer(evo);
  writer.navPack();
  while (writer.size() < 5 * 1048576) writer.pack(tools::Stream::vc1(0));
  testing::writeFile(dir.file("FEATURE_1.EVO"), evo.bytes);
  testing::writeFile(path, kAttributeLists);
  WMDropFiles(s, {dir.file("FEATURE_1.EVO")});
  s.fMain.eXPLfile.text = path;
  XPLadj(s);
  host.onMessages = [&] { bReadXPLClick(s); };
  ASSERT_TRUE(invoke(s, bCheckClick));
  EXPECT_GT(host.messageRounds, 0);
  EXPECT_TRUE(s.fMain.mXPL.lines.empty());
  EXPECT_EQ(s.VideoAttr[0], "");
  EXPECT_EQ(s.fMain.cbVideo[0].caption, "VC-1.stream.0");
}

}  // namespace
}  // namespace tessaly
