// The disc model on hand-built playlists with the shapes and the debris of real ones: the
// titles with their clips on the disc clock, chapters, and tracks whose stream numbers
// differ from their track numbers and from clip to clip.
#include <gtest/gtest.h>

#include "disc_fixture.h"

namespace tessaly::testing {
namespace {

using Streams = std::vector<std::optional<int>>;
using Flags = std::vector<std::string>;

// No XML declaration, comments, a default namespace, a schema on the authoring machine,
// attributes in any order. The logo's titleNumber is not its place; the film has none
// and ends on a title that does not exist; the menu has no clips; the trailer's EVO is
// missing.
constexpr const char* kFilmPlaylist = R"(<!-- authored by hand -->
<Playlist xmlns="http://www.dvdforum.org/2005/HDDVDVideo/Playlist" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:schemaLocation="http://www.dvdforum.org/2005/HDDVDVideo/Playlist D:\Film\Playlist.xsd" majorVersion="1" minorVersion="0">
  <MediaAttributeList>
    <VideoAttributeItem index="1" codec="VC-1"/>
    <AudioAttributeItem codec="DD+" channels="6" index="1"/>
    <AudioAttributeItem index="2" codec="MLP"/>
    <AudioAttributeItem index="3"
        codec="DTS-HD"/>
    <SubpictureAttributeItem index="1" codec="8bitRLC"/>
  </MediaAttributeList>
  <TitleSet timeBase="60fps" tickBase="24fps" tickBaseDivisor="1" defaultLanguage="en">
    <Title id="Logo" titleNumber="7" titleDuration="00:00:10:30" onEnd="Film">
      <PrimaryAudioVideoClip titleTimeEnd="00:00:10:30" src="file:///dvddisc/HVDVD_TS/LOGO.MAP" titleTimeBegin="00:00:00:00"/>
    </Title>
    <Title type="Original" displayName="The Film" id="Film" titleDuration="01:42:27:00" onEnd="NoSuchTitle">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_1.MAP" titleTimeBegin="00:00:00:00" titleTimeEnd="00:51:00:00" dataSource="Disc">
        <Video track="1" mediaAttr="1"/>
        <Audio streamNumber="1" track="1" mediaAttr="1"/>
        <Audio track="2" streamNumber="3" mediaAttr="2"/>
        <Subtitle track="1" streamNumber="2" mediaAttr="1"/>
      </PrimaryAudioVideoClip>
      <!-- the layer break -->
      <PrimaryAudioVideoClip seamless="true" clipTimeBegin="00:00:00:30" src="file:///dvddisc/HVDVD_TS/FEATURE_2.MAP" titleTimeBegin="00:51:00:00" titleTimeEnd="01:42:27:00">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="2" mediaAttr="1"/>
        <Audio track="3" streamNumber="1" mediaAttr="3" langcode="de:04" description="Zweiter Kommentar"/>
        <Subtitle track="1" streamNumber="2" mediaAttr="1"/>
        <Subtitle track="2" streamNumber="1" mediaAttr="1"/>
      </PrimaryAudioVideoClip>
      <TrackNavigationList>
        <VideoTrack track="1"/>
        <AudioTrack track="1" langcode="en:01" description="English"/>
        <AudioTrack description="Director" langcode="en:03" track="2"/>
        <SubtitleTrack track="1" langcode="fr:09" description="French Forced"/>
        <SubtitleTrack track="2" langcode="en:0d"/>
        <SubtitleTrack track="4" langcode="zz:05" description="Captions"/>
      </TrackNavigationList>
      <ChapterList>
        <Chapter titleTimeBegin="00:00:00:00" displayName="Opening"/>
        <!-- an unnamed chapter -->
        <Chapter titleTimeBegin="00:51:00:00"/>
        <Chapter displayName="Unreadable" titleTimeBegin="soon"/>
        <Chapter titleTimeBegin="01:40:00:00"/>
      </ChapterList>
    </Title>
    <Title id="Menu" titleNumber="3" titleDuration="00:20:00:00"/>
    <Title id="Trailer" displayName="Trailer" titleDuration="02:00:00:00">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/TRAILER.MAP" titleTimeBegin="00:00:00:00" titleTimeEnd="02:00:00:00"/>
    </Title>
  </TitleSet>
</Playlist>
)";

// The player boots it, but it only asks for the language.
constexpr const char* kSelectorPlaylist = R"(<?xml version="1.0" encoding="UTF-8"?>
<Playlist xmlns="http://www.dvdforum.org/2005/HDDVDVideo/Playlist">
  <TitleSet timeBase="60fps"><Title id="Languages" titleDuration="00:10:00:00"></Title></TitleSet>
</Playlist>
)";

// A lower playlist on the 50 Hz clock: 1/50 s a count. Its attribute items carry no
// index: they are numbered in order, one count per kind.
constexpr const char* kBonusPlaylist =
    R"(<Playlist xmlns="http://www.dvdforum.org/2005/HDDVDVideo/Playlist">
  <MediaAttributeList>
    <AudioAttributeItem codec="LPCM"/>
    <SubtitleAttributeItem codec="8bitRLC"/>
    <AudioAttributeItem codec="AC-3"/>
  </MediaAttributeList>
  <TitleSet timeBase="50fps">
    <Title id="Bonus" displayName="Bonus" titleDuration="00:00:10:25">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/BONUS.MAP" titleTimeBegin="00:00:00:00" titleTimeEnd="00:00:10:25">
        <Audio track="1" streamNumber="1" mediaAttr="2"/>
        <Audio track="2" streamNumber="2" mediaAttr="1"/>
      </PrimaryAudioVideoClip>
    </Title>
  </TitleSet>
</Playlist>
)";

class DiscTest : public DiscFixture {
 protected:
  DiscTest() {
    evo("LOGO.EVO", 100);
    evo("feature_1.evo", 3000);  // names are matched ignoring case
    evo("FEATURE_2.EVO", 4000);
    evo("BONUS.EVO", 10);
    playlist("vplst000.xpl", kBonusPlaylist);
    playlist("VPLST001.XPL", kFilmPlaylist);
    playlist("VPLST002.XPL", kSelectorPlaylist);
    playlist("VPLST01.XPL", kFilmPlaylist);  // not a playlist's name
    playlist("VPLSTX03.XPL", kFilmPlaylist);
  }
};

TEST_F(DiscTest, BootsTheHighestPlaylistWithClipsAndListsItFirst) {
  const Disc disc = readDisc(discPath());
  EXPECT_EQ(disc.boot, "VPLST001.XPL");
  EXPECT_EQ(disc.playerBoot, "VPLST002.XPL");
  std::vector<std::string> files;
  for (const DiscPlaylist& playlist : disc.playlists) files.push_back(playlist.file);
  EXPECT_EQ(files, (std::vector<std::string>{"VPLST001.XPL", "vplst000.xpl", "VPLST002.XPL"}));
  ASSERT_NE(disc.mainFeature(), nullptr);
  EXPECT_EQ(disc.mainFeature()->id, "Film");
}

TEST_F(DiscTest, TitlesKeepTheirNumbersNamesAndDurationsOnTheDiscClock) {
  const Disc disc = readDisc(discPath());
  const auto& titles = disc.playlists.at(0).titles;
  ASSERT_EQ(titles.size(), 4u);
  // titleNumber where given, else the place; displayName, else the id.
  EXPECT_EQ(titles[0].number, 7);
  EXPECT_EQ(titles[0].name, "Logo");
  EXPECT_EQ(titles[1].number, 2);
  EXPECT_EQ(titles[1].name, "The Film");
  EXPECT_EQ(titles[2].number, 3);
  EXPECT_EQ(titles[3].number, 4);
  // 630 counts of 1001/60000 s are 10510.5 ms; 01:42:27:00 is 368820 counts.
  EXPECT_EQ(titles[0].durationMs, 10511);
  EXPECT_EQ(titles[1].durationMs, 6153147);
  EXPECT_TRUE(titles[2].clips.empty());
  EXPECT_TRUE(titles[2].audio.empty());
  // 00:00:10:25 at 50fps: 525 counts of 20 ms.
  const DiscTitle& bonus = titleOf(disc, "vplst000.xpl", 1);
  EXPECT_EQ(bonus.durationMs, 10500);
  EXPECT_EQ(bonus.clips.at(0).titleEndMs, 10500);
  // Extras are short; only the boot playlist has a main feature, and the trailer's EVO
  // is missing.
  EXPECT_TRUE(titles[0].extra);
  EXPECT_TRUE(bonus.extra);
  EXPECT_FALSE(bonus.main);
  EXPECT_TRUE(titles[1].main);
  EXPECT_FALSE(titles[1].extra);
  EXPECT_FALSE(titles[2].extra || titles[2].main || titles[3].extra || titles[3].main);
  EXPECT_TRUE(titleOf(disc, "VPLST002.XPL", 1).clips.empty());
}

TEST_F(DiscTest, ClipsNameTheirMapsAndTheEvosFoundForThem) {
  const Disc disc = readDisc(discPath());
  const DiscTitle& film = titleOf(disc, "VPLST001.XPL", 2);
  ASSERT_EQ(film.clips.size(), 2u);
  const DiscClip& first = film.clips[0];
  const DiscClip& second = film.clips[1];
  EXPECT_EQ(first.map, "FEATURE_1.MAP");
  EXPECT_EQ(first.evo, "feature_1.evo");
  EXPECT_EQ(first.evoSize, 3000);
  EXPECT_EQ(second.evo, "FEATURE_2.EVO");
  EXPECT_EQ(first.titleBeginMs, 0);
  // 00:51:00:00 is 183600 counts: 3063060 ms.
  EXPECT_EQ(first.titleEndMs, 3063060);
  EXPECT_EQ(second.titleBeginMs, 3063060);
  EXPECT_EQ(second.titleEndMs, 6153147);
  EXPECT_EQ(first.clipBeginMs, 0);
  EXPECT_EQ(second.clipBeginMs, 501);  // 30 fields, whatever the tickBase
  EXPECT_FALSE(first.seamless);
  EXPECT_TRUE(second.seamless);
  const DiscClip& trailer = titleOf(disc, "VPLST001.XPL", 4).clips.at(0);
  EXPECT_EQ(trailer.map, "TRAILER.MAP");
  EXPECT_FALSE(trailer.evo.has_value());
}

TEST_F(DiscTest, ChaptersStartOnTheDiscClockAndAreNamedByTheirPlace) {
  const Disc disc = readDisc(discPath());
  const DiscTitle& film = titleOf(disc, "VPLST001.XPL", 2);
  ASSERT_EQ(film.chapters.size(), 3u);
  EXPECT_EQ(film.chapters[0].name, "Opening");
  EXPECT_EQ(film.chapters[1].startMs, 3063060);
  EXPECT_EQ(film.chapters[1].name, "Chapter 02");
  // 01:40:00:00 is 360000 counts; the unreadable third keeps its number.
  EXPECT_EQ(film.chapters[2].startMs, 6006000);
  EXPECT_EQ(film.chapters[2].name, "Chapter 04");
}

TEST_F(DiscTest, TracksMapToTheirStreamsClipByClip) {
  const Disc disc = readDisc(discPath());
  const DiscTitle& film = titleOf(disc, "VPLST001.XPL", 2);
  ASSERT_EQ(film.audio.size(), 3u);
  const DiscTrack& english = film.audio[0];
  EXPECT_EQ(english.track, 1);
  EXPECT_EQ(english.streams, (Streams{1, 2}));
  EXPECT_EQ(english.coding, "DD+");
  EXPECT_EQ(english.channels, 6);  // where the media attribute gives them
  EXPECT_EQ(film.audio[1].channels, std::nullopt);
  EXPECT_EQ(english.language, "eng");
  EXPECT_EQ(english.flags, Flags{});
  EXPECT_EQ(english.description, "English");
  const DiscTrack& director = film.audio[1];
  EXPECT_EQ(director.streams, (Streams{3, std::nullopt}));
  EXPECT_EQ(director.coding, "MLP");
  EXPECT_EQ(director.flags, Flags{"commentary"});
  EXPECT_EQ(director.description, "Director");
  // Without a navigation track, the clip element's langcode and description count.
  const DiscTrack& second = film.audio[2];
  EXPECT_EQ(second.streams, (Streams{std::nullopt, 1}));
  EXPECT_EQ(second.coding, "DTS-HD");
  EXPECT_EQ(second.language, "ger");
  EXPECT_EQ(second.flags, Flags{"commentary"});
  EXPECT_EQ(second.description, "Zweiter Kommentar");
}

TEST_F(DiscTest, AttributeItemsWithoutIndexAreNumberedInOrder) {
  const Disc disc = readDisc(discPath());
  const DiscTitle& bonus = titleOf(disc, "vplst000.xpl", 1);
  ASSERT_EQ(bonus.audio.size(), 2u);
  EXPECT_EQ(bonus.audio[0].coding, "AC-3");
  EXPECT_EQ(bonus.audio[1].coding, "LPCM");
}

TEST_F(DiscTest, SubtitleExtensionsGiveTheirFlags) {
  const Disc disc = readDisc(discPath());
  const DiscTitle& film = titleOf(disc, "VPLST001.XPL", 2);
  ASSERT_EQ(film.subtitles.size(), 3u);
  EXPECT_EQ(film.subtitles[0].streams, (Streams{2, 2}));
  EXPECT_EQ(film.subtitles[0].coding, "8bitRLC");
  EXPECT_EQ(film.subtitles[0].language, "fre");
  EXPECT_EQ(film.subtitles[0].flags, Flags{"forced"});
  EXPECT_EQ(film.subtitles[1].streams, (Streams{std::nullopt, 1}));
  EXPECT_EQ(film.subtitles[1].flags, Flags{"commentary"});  // "0d" as "0D"
  // A navigation track that no clip carries, with no ISO 639 code.
  const DiscTrack& captions = film.subtitles[2];
  EXPECT_EQ(captions.track, 4);
  EXPECT_EQ(captions.streams, (Streams{std::nullopt, std::nullopt}));
  EXPECT_EQ(captions.coding, "");
  EXPECT_EQ(captions.language, std::nullopt);
  EXPECT_EQ(captions.flags, Flags{"hearing_impaired"});
}

}  // namespace
}  // namespace tessaly::testing
