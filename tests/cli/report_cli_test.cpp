// The command line's machine-readable outputs: the report of a demux against a stored
// file, scan --json beside its log, the list of titles, and chapter files that mkvmerge
// reads as we meant them.
#include "cli_run.h"

namespace tessaly::cli {
namespace {

// Streams 1 (playlist) and 2 of audio, subtitle 2; languages from the stream element
// and from the navigation track; one named and one unnamed chapter.
constexpr const char* kPlaylist = R"(<?xml version="1.0"?>
<Playlist displayName="Disc">
  <MediaAttributeList>
    <VideoAttributeItem index="1" codec="MPEG-2"/>
    <AudioAttributeItem index="1" codec="DD" channels="6"/>
    <AudioAttributeItem index="2" codec="DD+" channels="2"/>
    <SubpictureAttributeItem index="1" codec="8bitRLC"/>
  </MediaAttributeList>
  <TitleSet defaultLanguage="en">
    <Title titleNumber="1" id="Trailer" displayName="Trailer" titleDuration="00:00:30:00"/>
    <Title titleNumber="2" id="Main" displayName="Main" titleDuration="00:00:04:30">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_1.MAP">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="1" langcode="en:00" description="English"/>
        <Audio track="2" streamNumber="2" mediaAttr="2" description="Commentary"/>
        <Subtitle track="1" streamNumber="2" mediaAttr="1" langcode="fr:00" description="French"/>
      </PrimaryAudioVideoClip>
      <TrackNavigationList>
        <AudioTrack track="2" langcode="de:00"/>
      </TrackNavigationList>
      <ChapterList>
        <Chapter titleTimeBegin="00:00:00:00" displayName="Start"/>
        <Chapter titleTimeBegin="00:00:02:30"/>
      </ChapterList>
    </Title>
  </TitleSet>
</Playlist>
)";

// A segment from `start` (90 kHz): MPEG-2 video; DD and DTS HD sharing number 0; DD+ 1
// from the third round, 1.5 s late; LPCM 2 without time stamps, which MPEG audio once
// follows; subpicture 1, half a second late, one of its units in two packets.
testing::Build segment(std::int64_t start, int rounds) {
  return [=](PsWriter& w) {
    w.navPack();
    for (int n = 0; n < rounds; ++n) {
      w.pack(Stream::mpeg2(0), 1800, {.time = start + n * 3600});
      w.pack(Stream::dd(0), 500, {.time = start + n * 2880});
      w.pack(Stream::dtsHd(0), 500, {.time = start + n * 2880 + 1440});
      if (n >= 2) w.pack(Stream::ddPlus(1), 800, {.time = start + 135000 + (n - 2) * 2880});
      w.pack(Stream::lpcm(2), 600, {.pts = false});
      if (n == 3) w.pack(Stream::mpegAudio(0), 300, {.time = start + n * 2880});
      w.pack(Stream::subpicture(1), 400, {.time = start + 45000 + n * 9000});
      if (n == 4) w.pack(Stream::subpicture(1), 400, {.pts = false});  // a unit goes on
    }
  };
}

// The text with every occurrence of `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

using ReportCliTest = CliRunTest;

TEST_F(ReportCliTest, DemuxReportMatchesTheStoredFile) {
  writeEvo("FEATURE_1.EVO", segment(90000, 6), 1);
  writeEvo("FEATURE_2.EVO", segment(90000 + 6 * 3600, 4), 2);
  testing::writeFile(in.file("VPLST000.XPL"), std::string(kPlaylist));
  const std::string report = logs.file("report.json");
  const Outcome r = run({"demux", in.file("FEATURE_1.EVO"), "--xpl", in.file("VPLST000.XPL"),
                         "--out", out.path(), "--report", report});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string got =
      replaced(replaced(testing::textOf(report), in.path(), "IN/"), out.path(), "OUT/");
  EXPECT_EQ(got, testing::textOf(TESSALY_TEST_DATA "/demux_report.json"));
}

TEST_F(ReportCliTest, ScanJsonOnStandardOutputTheLogOnStandardError) {
  writeEvo("FEATURE_1.EVO", segment(90000, 6), 1);
  const Outcome r = run({"scan", in.file("FEATURE_1.EVO"), "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("{\n  \"input\": {\n    \"file\": \"" + in.file("FEATURE_1.EVO") + "\"", 0),
            0u);
  EXPECT_EQ(r.out.substr(r.out.size() - 86),
            "    \"Warning: MPEG audio packets follow audio stream 2; they share its output.\"\n"
            "  ]\n}\n");
  EXPECT_NE(r.out.find("\"title\": null"), std::string::npos);
  const auto log = lines(r.err);
  EXPECT_EQ(log.front(), "Opening file FEATURE_1.EVO");
  EXPECT_NE(
      std::find(log.begin(), log.end(),
                "Warning: audio stream 0 carries DD and DTS HD packets; they share one output."),
      log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "Done."), log.end());
}

TEST_F(ReportCliTest, TitlesAndChaptersOfThePlaylist) {
  writeEvo("FEATURE_1.EVO", segment(0, 1));
  writeEvo("OTHER_1.EVO", segment(0, 1));
  const std::string xpl = in.file("VPLST000.XPL");
  testing::writeFile(xpl, std::string(kPlaylist));
  Outcome r = run({"xpl", xpl, "--titles"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "1: Trailer (id Trailer, 00:00:30.030, 0 chapters)\n"
            "2: Main (id Main, 00:00:04.505, 2 chapters; FEATURE_1.MAP)\n");
  EXPECT_EQ(lines(r.err).front(), "Open VPLST000.XPL");

  // Both files, muxed by mkvmerge and read back, give the same chapters.
  const std::string simple =
      "CHAPTER01=00:00:00.000\nCHAPTER01NAME=Start\n"
      "CHAPTER02=00:00:02.503\nCHAPTER02NAME=Chapter 02\n";
  for (const std::string name : {"chapters.xml", "chapters.txt"}) {
    SCOPED_TRACE(name);
    r = run({"xpl", xpl, "--evo", in.file("FEATURE_1.EVO"), "--chapters", out.file(name)});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string mkv = out.file(name + ".mkv");
    commandOutput("mkvmerge -q -o '" + mkv + "' --chapters '" + out.file(name) + "'");
    EXPECT_EQ(commandOutput("mkvextract '" + mkv + "' chapters --simple -"), simple);
  }
  EXPECT_NE(
      testing::textOf(out.file("chapters.xml")).find("<ChapterLanguage>eng</ChapterLanguage>"),
      std::string::npos);

  r = run({"xpl", xpl, "--evo", in.file("OTHER_1.EVO"), "--chapters", out.file("none.xml")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(lines(r.err).back(), "tessaly-cli: no title of the playlist plays OTHER_1.EVO");
  EXPECT_FALSE(fs::exists(out.file("none.xml")));
  EXPECT_EQ(run({"xpl", xpl, "--chapters", out.file("c.txt")}).status, 2);
}

}  // namespace
}  // namespace tessaly::cli
