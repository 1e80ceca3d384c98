#include "session/demux_click.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "job/output_names.h"
#include "job_fixture.h"
#include "session/invoke.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::JobTest;
using tools::Stream;

// Makes `folder` the process's current folder for the scope.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& folder) : saved_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~CurrentFolder() { fs::current_path(saved_); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  fs::path saved_;
};

TEST(OutputNames, FolderPrefixAndFileName) {
  testing::RecordingHost host;
  Session s{host};
  s.BaseName = "FEATURE_1";
  EXPECT_EQ(OutputBase(s), "FEATURE_1");
  s.fMain.eWorkdir.text = "/out";
  EXPECT_EQ(OutputBase(s), "/out/FEATURE_1");
  s.fMain.eWorkdir.text = "/out/";
  EXPECT_EQ(OutputBase(s), "/out/FEATURE_1");
  s.fMain.eWorkdir.text = "out\\";  // only "/" counts as a final separator
  EXPECT_EQ(OutputBase(s), "out\\/FEATURE_1");

  EXPECT_EQ(outputName("/out/F", "DD+.stream.03", "mpa"), "/out/F.DD+.stream.03.mpa");
  EXPECT_EQ(outputName("F", "Subpicture.12", ""), "F.Subpicture.12.");
  EXPECT_EQ(outputName("F", "No audio stream", "mpa"), "F.No audio stream.mpa");
}

TEST(OutputNames, SeparatorsAndNulsFromCaptionsStayInsideTheFolder) {
  EXPECT_EQ(outputName("/out/F", "x/../../../etc/passwd", "mpa"),
            "/out/F.x_.._.._.._etc_passwd.mpa");
  EXPECT_EQ(outputName("/out/F", std::string("DD+\0/x", 6), "m/v"), "/out/F.DD+__x.m_v");
}

TEST_F(JobTest, ScannedStreamsAreWrittenByteExactInJobOrder) {
  auto expected = writeEvo("FEATURE_1.EVO", [](tools::PsWriter& w) {
    w.navPack();
    for (int n = 0; n < 40; ++n) {
      w.pack(Stream::vc1(0));
      w.pack(Stream::mlp(1), 900);
      w.pack(Stream::subpicture(12), 300);
      w.pack(Stream::ddPlus(3), 1200);
    }
  });
  choose("FEATURE_1.EVO");
  ASSERT_TRUE(invoke(s, bCheckClick));
  setTicked(s, s.fMain.cbAudio[1], false);  // MLP stays out
  s.fMain.eAudioExt.text = "ac3";
  testing::writeFile(out.file("FEATURE_1.VC-1.stream.0.mpv"), std::string(500000, 'x'));
  const std::size_t scanLines = s.fMain.mMessage.lines.size();
  ASSERT_TRUE(invoke(s, bDemuxClick));

  const auto& lines = s.fMain.mMessage.lines;
  ASSERT_GE(lines.size(), scanLines + 6);
  EXPECT_EQ(lines[scanLines], "Opening file FEATURE_1.EVO");
  EXPECT_EQ(lines[scanLines + 1], "File size: 0 Mbytes.");
  EXPECT_EQ(lines[scanLines + 2], "Creating " + out.file("FEATURE_1.VC-1.stream.0.mpv"));
  EXPECT_EQ(lines[scanLines + 3], "Creating " + out.file("FEATURE_1.DD+.stream.03.ac3"));
  EXPECT_EQ(lines[scanLines + 4], "Creating " + out.file("FEATURE_1.Subpicture.12.sup"));
  EXPECT_EQ(lines.back(), "Done.");
  EXPECT_FALSE(logged("Continue on FEATURE_2.EVO"));

  EXPECT_EQ(output("FEATURE_1.VC-1.stream.0.mpv"), expected[1]);  // truncated and rewritten
  EXPECT_EQ(output("FEATURE_1.DD+.stream.03.ac3"), expected[20]);
  EXPECT_EQ(output("FEATURE_1.Subpicture.12.sup"), expected[45]);
  EXPECT_FALSE(fs::exists(out.file("FEATURE_1.MLP.stream.01.mpa")));
  EXPECT_EQ(s.fMain.statusBar.panels[0], " Ready");
  EXPECT_EQ(s.fMain.statusBar.panels[1], " ");
  EXPECT_TRUE(s.fMain.bDemux.enabled);
  expectAllClosed();
}

TEST_F(JobTest, EmptyOutputFolderWritesIntoTheCurrentFolder) {
  auto expected = writeEvo("FEATURE_1.EVO", testing::feature(3));
  choose("FEATURE_1.EVO");
  tick(17, "DD+.stream.00");
  s.fMain.eWorkdir.text.clear();
  {
    CurrentFolder here(out.path());
    ASSERT_TRUE(invoke(s, bDemuxClick));
  }
  EXPECT_TRUE(logged("Creating FEATURE_1.DD+.stream.00.mpa"));
  EXPECT_EQ(output("FEATURE_1.DD+.stream.00.mpa"), expected[17]);
}

TEST_F(JobTest, TickedButResetBoxAndOddCaptionsGetTheirOutputsInTheFolder) {
  writeEvo("FEATURE_1.EVO", testing::feature(3));
  choose("FEATURE_1.EVO");
  Resetcbs(s);
  setTicked(s, s.fMain.cbAudio[5], true);  // disabled, "No audio stream"
  tick(33, "../../escaped");               // as a playlist could caption it
  tick(2, "VC-1.stream.1");
  s.fMain.eVideoExt.text.clear();
  s.fMain.eWorkdir.text = out.path() + "sub/";
  fs::create_directory(out.file("sub"));
  ASSERT_TRUE(invoke(s, bDemuxClick));

  EXPECT_TRUE(output("sub/FEATURE_1.No audio stream.mpa").empty());
  EXPECT_TRUE(fs::exists(out.file("sub/FEATURE_1..._.._escaped.sup")));
  EXPECT_TRUE(logged("Creating " + out.file("sub/FEATURE_1.VC-1.stream.1.")));
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), {}), 1);  // only sub/
  EXPECT_FALSE(fs::exists(in.file("escaped.sup")));
}

TEST_F(JobTest, VideoBoxesWithoutAnEntryCreateNothing) {
  writeEvo("FEATURE_1.EVO", testing::feature(2));
  choose("FEATURE_1.EVO");
  setTicked(s, s.fMain.cbVideo[4], true);
  ASSERT_TRUE(invoke(s, bDemuxClick));
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), {}), 0);
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Done.");
}

TEST_F(JobTest, NoOtherJobOrFileChoiceStartsWhileTheDemuxRuns) {
  writeEvo("FEATURE_1.EVO", testing::feature(1000));
  choose("FEATURE_1.EVO");
  tick(17, "DD+.stream.00");
  std::vector<bool> busyInside;
  host.onMessages = [&] {
    busyInside.push_back(s.busy);
    bCheckClick(s);
    bDemuxClick(s);
    WMDropFiles(s, {in.file("OTHER_1.EVO")});
  };
  ASSERT_TRUE(invoke(s, bDemuxClick));
  ASSERT_FALSE(busyInside.empty());
  EXPECT_EQ(std::count(busyInside.begin(), busyInside.end(), true),
            static_cast<long>(busyInside.size()));
  EXPECT_EQ(s.fMain.eEVOfile.text, in.file("FEATURE_1.EVO"));
  const auto& lines = s.fMain.mMessage.lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Opening file FEATURE_1.EVO"), 1);
  EXPECT_EQ(lines.back(), "Done.");
  expectAllClosed();
}

}  // namespace
}  // namespace tessaly
