// The job report from what a demux found and the playlist's title, without the window:
// the captions the outputs were named with, the box names, and the title's languages.
#include "catalogue/job_report.h"

#include <gtest/gtest.h>

#include "job/demux.h"
#include "support/program_stream.h"
#include "support/recording_observer.h"
#include "support/temp_dir.h"

namespace tessaly {
namespace {

using tools::Stream;

TEST(JobReport, NamesEachStreamByTheCaptionItsOutputWasMadeWith) {
  testing::TempDir dir;
  testing::writeProgramStream(dir.file("FEATURE_1.EVO"), [](tools::PsWriter& w) {
    w.navPack();
    for (int n = 0; n < 3; ++n) {
      w.pack(Stream::vc1(0));
      w.pack(Stream::ddPlus(3), 800);
      w.pack(Stream::dd(5), 800);
      w.pack(Stream::subpicture(20), 300);  // no box: subpicture boxes end at 15
    }
  });
  DemuxRequest request;
  request.segments = {dir.file("FEATURE_1.EVO")};
  request.outputBase = dir.file("FEATURE_1");
  request.outputs = {{1, "Main video"}, {20, "DD+.6ch.stream.03.English"}};
  testing::RecordingObserver observer;
  const DemuxResult result = runDemux(request, observer);
  ASSERT_FALSE(result.error);

  TitleFacts title;
  title.name = "Main";
  title.audio[4] = {"en", "01", "English", 6};  // the playlist counts from 1: the EVO's stream 3
  title.audio[5] = {"fr", "", "", {}};          // stream 4, which the EVO does not have
  const JobReport report = jobReport(result.found, &title, "/disc/VPLST000.XPL");
  ASSERT_EQ(report.streams.size(), 4u);
  const StreamEntry& video = report.streams[0];
  EXPECT_EQ(video.box, "cbVideo0");
  EXPECT_EQ(video.caption, "Main video");
  EXPECT_EQ(video.output, dir.file("FEATURE_1.Main video.mpv"));
  EXPECT_FALSE(video.language);
  const StreamEntry& ddPlus = report.streams[1];
  EXPECT_EQ(ddPlus.box, "cbAudio03");
  EXPECT_EQ(ddPlus.caption, "DD+.6ch.stream.03.English");
  EXPECT_EQ(ddPlus.language, "en");
  EXPECT_EQ(ddPlus.description, "English");
  EXPECT_EQ(ddPlus.channels, 6);  // for its name in a Matroska file
  EXPECT_EQ(playlistLanguage(&title, 20), "en");
  EXPECT_EQ(playlistLanguage(&title, 21), "fr");
  EXPECT_EQ(playlistLanguage(nullptr, 20), "");
  // Streams not written keep the caption "Read EVO" gives them, and no output.
  const StreamEntry& dd = report.streams[2];
  EXPECT_EQ(dd.box, "cbAudio05");
  EXPECT_EQ(dd.caption, "DD.stream.05");
  EXPECT_EQ(dd.output, "");
  EXPECT_FALSE(dd.language);
  EXPECT_EQ(report.streams[3].box, "");  // subpicture stream 20 has no box
  ASSERT_TRUE(report.title);
  EXPECT_EQ(report.title->playlist, "/disc/VPLST000.XPL");
  EXPECT_EQ(report.title->name, "Main");
  EXPECT_FALSE(jobReport(result.found, nullptr, "").title);
}

}  // namespace
}  // namespace tessaly
