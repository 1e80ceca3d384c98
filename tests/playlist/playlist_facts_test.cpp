// The playlist facts beside the title phase: every title, the chosen title's
// languages from both langcode places, its chapters in milliseconds by the title set's
// timeBase, and the chapter files made from them.
#include "playlist/playlist_facts.h"

#include <gtest/gtest.h>

#include "playlist/chapter_files.h"
#include "playlist/xml_tag.h"
#include "session/file_choice.h"
#include "session/invoke.h"
#include "session/read_xpl_click.h"
#include "session/xpl_choice.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tessaly {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kPlaylist = R"(<?xml version="1.0"?>
<Playlist displayName="Disc">
  <MediaAttributeList>
    <AudioAttributeItem index="1" codec="DD+" channels="6"/>
  </MediaAttributeList>
  <TitleSet timeBase="50fps" defaultLanguage="de">
    <Title titleNumber="1" id="Logo" displayName="Logo" titleDuration="00:00:10:25">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/LOGO_1.MAP"/>
    </Title>
    <Title id="Main" displayName="Main &amp; more" titleDuration="01:30:00">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_1.MAP">
        <Audio track="1" streamNumber="1" mediaAttr="1" langcode="en:00" description="English"/>
        <Audio track="2" streamNumber="2" mediaAttr="1" description="Fran&#xE7;ais"/>
        <Audio track="3" streamNumber="1" mediaAttr="1" langcode="xx:00" description="Again"/>
        <Subtitle track="1" streamNumber="3" mediaAttr="1" description="Japanese"/>
      </PrimaryAudioVideoClip>
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_2.MAP"/>
      <TrackNavigationList>
        <AudioTrack track="2" langcode="fr:01"/>
        <SubtitleTrack track='1' langcode='ja:09'/>
      </TrackNavigationList>
      <ChapterList>
        <Chapter titleTimeBegin="00:00:00:00" displayName="Start"/>
        <Chapter titleTimeBegin="00:00:41:12"/>
        <Chapter titleTimeBegin="later"/>
        <Chapter titleTimeBegin="00:01:00:49" displayName=""/>
      </ChapterList>
    </Title>
  </TitleSet>
  <TitleSet tickBase="24fps" tickBaseDivisor="1">
    <Title titleNumber="7" displayName="Extras" titleDuration="00:00:01:30"/>
  </TitleSet>
</Playlist>
)";

class PlaylistFactsTest : public ::testing::Test {
 protected:
  void readXpl(const std::string& evo, const std::string& text) {
    testing::writeFile(dir.file(evo), "");
    WMDropFiles(s, {dir.file(evo)});
    testing::writeFile(path, text);
    s.fMain.eXPLfile.text = path;
    XPLadj(s);
    ASSERT_TRUE(invoke(s, bReadXPLClick));
  }

  testing::RecordingHost host;
  Session s{host};
  testing::TempDir dir;
  std::string path = dir.file("VPLST000.XPL");
};

TEST_F(PlaylistFactsTest, TitlesLanguagesAndChaptersBesideTheTitlePhasesTree) {
  readXpl("FEATURE_1.EVO", kPlaylist);
  const PlaylistFacts& p = s.Playlist;
  EXPECT_EQ(p.file, path);
  ASSERT_EQ(p.titles.size(), 3u);
  ASSERT_EQ(p.chosen, 1);
  const TitleFacts& main = p.titles[1];
  EXPECT_EQ(main.number, 2);  // no titleNumber: its place
  EXPECT_EQ(main.name, "Main & more");
  EXPECT_EQ(main.durationMs, 5400000);
  EXPECT_EQ(main.defaultLanguage, "de");
  EXPECT_EQ(main.audio.at(1).language, "en");
  EXPECT_EQ(main.audio.at(1).description, "English");  // the first element of a number
  EXPECT_EQ(main.audio.at(1).extension, "00");
  EXPECT_EQ(main.audio.at(2).language, "fr");  // from its navigation track, as the extension
  EXPECT_EQ(main.audio.at(2).extension, "01");
  EXPECT_EQ(main.audio.at(2).description,
            "Fran\xC3\xA7"
            "ais");
  EXPECT_EQ(main.subtitles.at(3).language, "ja");
  EXPECT_EQ(main.subtitles.at(3).extension, "09");  // forced
  EXPECT_EQ(main.audio.at(1).channels, 6);          // its media attribute's, for the track's name
  EXPECT_EQ(main.subtitles.at(3).channels, std::nullopt);  // no audio item's
  ASSERT_EQ(main.chapters.size(), 3u);                     // the unreadable third is left out
  EXPECT_EQ(main.chapters[0].name, "Start");
  EXPECT_EQ(main.chapters[1].startMs, 41240);  // 12 frames of 1/50 s
  EXPECT_EQ(main.chapters[1].name, "Chapter 02");
  EXPECT_EQ(main.chapters[2].startMs, 60980);
  EXPECT_EQ(main.chapters[2].name, "Chapter 04");
  EXPECT_EQ(p.titles[0].durationMs, 10500);
  // A title set without timeBase counts 60fps, 90 fields of 1001/60000 s; FF never counts
  // the tickBase.
  EXPECT_EQ(p.titles[2].durationMs, 1502);

  // The four fixed nodes as they were; "Titles" after them.
  const auto& nodes = s.fMain.tvXPL.nodes;
  ASSERT_EQ(nodes.size(), 6u);
  EXPECT_EQ(nodes[4].children[1].text, "00:00:41:12: Start");
  EXPECT_EQ(nodes[5].text, "Titles");
  Lines titles;
  for (const auto& node : nodes[5].children) titles.push_back(node.text);
  EXPECT_EQ(titles, (Lines{"1: Logo (id Logo, 00:00:10.500, 0 chapters; LOGO_1.MAP)",
                           "2: Main & more (id Main, 01:30:00.000, 3 chapters; FEATURE_1.MAP, "
                           "FEATURE_2.MAP)",
                           "7: Extras (00:00:01.502, 0 chapters)"}));
}

TEST_F(PlaylistFactsTest, ChapterFilesInBothFormats) {
  readXpl("FEATURE_1.EVO", kPlaylist);
  const TitleFacts& main = s.Playlist.titles.at(1);
  EXPECT_EQ(chapterFile(main, "a.txt"),
            "CHAPTER01=00:00:00.000\nCHAPTER01NAME=Start\n"
            "CHAPTER02=00:00:41.240\nCHAPTER02NAME=Chapter 02\n"
            "CHAPTER03=00:01:00.980\nCHAPTER03NAME=Chapter 04\n");
  TitleFacts named = main;
  named.chapters.resize(1);
  named.chapters[0].name = "<Tom & Jerry>";
  EXPECT_EQ(
      chapterFile(named, "b.XML"),
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE Chapters SYSTEM \"matroskachapters.dtd\">\n"
      "<Chapters>\n  <EditionEntry>\n    <ChapterAtom>\n"
      "      <ChapterTimeStart>00:00:00.000</ChapterTimeStart>\n"
      "      <ChapterDisplay>\n        <ChapterString>&lt;Tom &amp; Jerry&gt;</ChapterString>\n"
      "        <ChapterLanguage>ger</ChapterLanguage>\n      </ChapterDisplay>\n"
      "    </ChapterAtom>\n  </EditionEntry>\n</Chapters>\n");
}

TEST_F(PlaylistFactsTest, TheTitleIsChosenAsTheTitlePhaseCutsIt) {
  // The base name in a title's own line chooses the title before it, as the cut does;
  // a base name on the first line chooses none.
  readXpl("Main.EVO", kPlaylist);
  EXPECT_EQ(s.Playlist.chosen, 0);
  EXPECT_EQ(s.Playlist.baseName, "Main");
  readXpl("xml.EVO", kPlaylist);
  EXPECT_EQ(s.Playlist.chosen, -1);
  EXPECT_EQ(s.Playlist.titles.size(), 3u);
}

// Hand-computed: at 60fps a count is 1001/60000 s, so a time's seconds grow by 1/1000.
TEST(TimeTest, CountsOfTheTimeBaseClock) {
  const TimeBase sixty = timeBase("60fps");
  EXPECT_EQ(timeMs("01:42:27:00", sixty), 6153147);  // 368,820 counts: 6147 s * 1.001
  EXPECT_EQ(timeMs("00:01:52:55", sixty), 113030);   // 6,775 counts: 113.0296 s
  EXPECT_EQ(timeMs("00:00:00:59", sixty), 984);      // FF up to 59, of the timeBase
  EXPECT_EQ(timeMs("00:00:00:01", sixty), 17);
  EXPECT_EQ(timeMs("00:00:05", sixty), 5005);  // no FF: 300 counts
  const TimeBase fifty = timeBase("50fps");
  EXPECT_EQ(timeMs("01:42:27:00", fifty), 6147000);
  EXPECT_EQ(timeMs("00:00:01:25", fifty), 1500);
  EXPECT_EQ(timeMs("00:00:01:", fifty), -1);
  EXPECT_EQ(timeMs("1:2", fifty), -1);
  // An absent or unknown timeBase is the 60fps clock.
  EXPECT_EQ(timeMs("01:42:27:00", timeBase("")), 6153147);
  EXPECT_EQ(timeMs("00:00:00:30", timeBase("30fps")), 501);
}

// A numeric reference is decoded only when all its digits belong to its base and it names
// a character; anything else stays as written.
TEST(XmlTagTest, NumericReferencesDecodeOnlyWhenWellFormed) {
  const auto value = [](const std::string& written) {
    return readXmlTag("<T a=\"" + written + "\"/>")->attribute("a");
  };
  EXPECT_EQ(value("&#65;&#x42;&#X43;&#x1F600;"), "ABC\xF0\x9F\x98\x80");
  EXPECT_EQ(value("&#9;"), " ");
  for (const std::string kept : {"&#6A;", "&#xG1;", "&#+65;", "&#-65;", "&# 65;", "&#x;", "&#0;",
                                 "&#xD800;", "&#x110000;", "&#1234567;"}) {
    EXPECT_EQ(value(kept), kept);
  }
}

}  // namespace
}  // namespace tessaly
