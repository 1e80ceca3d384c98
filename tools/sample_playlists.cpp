#include "tools/sample_playlists.h"

#include <cstdio>

#include "tools/sample_layout.h"

namespace tessaly::tools {
namespace {

using namespace sample;

// HH:MM:SS:FF of a count on the 60fps clock: FF counts fields, 60 to the nominal second.
std::string at(int counts) {
  char text[40];  // room for any int: the compiler checks the format against that
  std::snprintf(text, sizeof text, "%02d:%02d:%02d:%02d", counts / 216000, counts / 3600 % 60,
                counts / 60 % 60, counts % 60);
  return text;
}

// A clip of the EVO `name` (its .MAP, as playlists name clips) on the title's time line.
std::string clip(const std::string& name, int begin, int end, const char* seamless) {
  return R"(      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/)" + name +
         R"(.MAP" titleTimeBegin=")" + at(begin) + R"(" titleTimeEnd=")" + at(end) + '"' +
         seamless + R"( dataSource="Disc">
)";
}

constexpr const char* kClipEnd = "      </PrimaryAudioVideoClip>\n";

// No XML declaration, a comment first and a schema location on the authoring machine,
// as some real playlists have.
constexpr const char* kTitlesHead = R"(<!-- Tessaly sample disc: its titles. -->
<Playlist xmlns="http://www.dvdforum.org/2005/HDDVDVideo/Playlist" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:schemaLocation="http://www.dvdforum.org/2005/HDDVDVideo/Playlist C:\Authoring\Tessaly\Schemas\Playlist.xsd" majorVersion="1" minorVersion="0" description="Tessaly sample disc" displayName="Tessaly Sample Disc">
  <Configuration>
    <StreamingBuffer size="0"/>
    <Aperture>1920x1080</Aperture>
    <MainVideoDefaultColor>108080</MainVideoDefaultColor>
  </Configuration>
  <MediaAttributeList>
    <VideoAttributeItem index="1" codec="MPEG-2" sampleAspectRatio="16:9" horizontalResolution="640" verticalResolution="360" encodedFrameRate="24" sourceFrameRate="24" activeAreaX1="0" activeAreaY1="0" activeAreaX2="639" activeAreaY2="359"/>
    <AudioAttributeItem index="1" codec="DD+" sampleFrequency="48" sampleDepth="16" channels="6"/>
    <AudioAttributeItem index="2" codec="MLP" sampleFrequency="48" sampleDepth="16" channels="6"/>
    <AudioAttributeItem index="3" codec="DD+" sampleFrequency="48" sampleDepth="16"
        channels="2"/>
    <SubpictureAttributeItem index="1" codec="8bitRLC"/>
  </MediaAttributeList>
  <!-- FF counts frames of the timeBase, 60 to the second, whatever the tickBase. -->
  <TitleSet timeBase="60fps" tickBase="24fps" tickBaseDivisor="1" defaultLanguage="en">
)";

// The logo plays first; like many short titles it has no TrackNavigationList.
std::string logoTitle() {
  return R"(    <Title id="StudioLogo" titleNumber="1" displayName="Studio Logo" titleDuration=")" +
         at(kLogoCounts) + R"(" onEnd="FeatureTitle" type="Original">
)" + clip("STUDIO_LOGO", 0, kLogoCounts, "") +
         R"(        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="3" langcode="en:00"/>
)" + kClipEnd +
         "    </Title>\n";
}

// The streams of both feature segments; streamNumber counts from 1 where the EVO counts
// from 0. The commentary and the French subtitles take their languages from the title's
// navigation tracks.
constexpr const char* kFeatureStreams =
    R"(        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="1" langcode="en:01" description="English"/>
        <Audio track="2" streamNumber="2" mediaAttr="2" langcode="en:01" description="English lossless"/>
        <Audio track="3" streamNumber="3" mediaAttr="3" description="Commentary"/>
        <Subtitle track="1" streamNumber="1" mediaAttr="1" langcode="en:01" description="English"/>
        <Subtitle track="2" streamNumber="2" mediaAttr="1" description="French"/>
        <Subtitle track="3" streamNumber="3" mediaAttr="1" description="French Forced"/>
)";

// The warning card's EVO carries the English track as audio stream 2 (sub-stream 0xC1).
constexpr const char* kWarningStreams = R"(        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="2" mediaAttr="1" langcode="en:01" description="English"/>
)";

constexpr const char* kFeatureTracks = R"(      <TrackNavigationList>
        <VideoTrack track="1"/>
        <AudioTrack track="1" langcode="en:01" description="English"/>
        <AudioTrack track="2" langcode="en:01" description="English lossless"/>
        <AudioTrack track="3" langcode="de:03" description="Commentary"/>
        <SubtitleTrack track="1" langcode="en:01" description="English"/>
        <SubtitleTrack track="2" langcode="fr:01" description="French"/>
        <SubtitleTrack track="3" langcode="fr:09" description="French Forced"/>
      </TrackNavigationList>
)";

// The feature: two seamless clips split at a GOP, then the non-seamless warning card
// whose time stamps start again; the title runs on, blank, past its last clip. Its end
// names a title the playlist lacks; the second chapter has no name.
std::string featureTitle() {
  constexpr int split = kFeature1Counts;
  constexpr int end = split + kFeature2Counts;
  return R"(    <Title type="Original" id="FeatureTitle" titleNumber="2" displayName="Tessaly: The Feature" titleDuration="00:02:05:59" onEnd="ScenesMenu">
)" + clip("FEATURE_1", 0, split, "") +
         kFeatureStreams + kClipEnd + clip("FEATURE_2", split, end, R"( seamless="true")") +
         kFeatureStreams + kClipEnd +
         clip("WARNING", end, end + kWarningCounts, R"( seamless="false")") + kWarningStreams +
         kClipEnd + kFeatureTracks + R"(      <ChapterList>
        <Chapter titleTimeBegin="00:00:00:00" displayName="Opening"/>
        <Chapter titleTimeBegin="00:00:27:45"/>
        <Chapter displayName="Second Segment" titleTimeBegin=")" +
         at(split) + R"("/>
        <Chapter titleTimeBegin="00:01:52:55" displayName="End Credits"/>
      </ChapterList>
    </Title>
)";
}

// The menu plays one clip over and over; its title number is not its position.
std::string menuTitle() {
  std::string title =
      R"(    <Title id="MenuLoop" titleNumber="7" displayName="Main Menu" titleDuration=")" +
      at(kMenuPlays * kMenuCounts) + R"(" onEnd="MenuLoop" type="Original">
)";
  for (int play = 0; play < kMenuPlays; ++play) {
    title += clip("MENU_LOOP", play * kMenuCounts, (play + 1) * kMenuCounts,
                  play == 0 ? "" : R"( seamless="false")");
    title += R"(        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="3" langcode="en:00"/>
)";
    title += kClipEnd;
  }
  return title + "    </Title>\n";
}

constexpr const char* kTail = "  </TitleSet>\n</Playlist>\n";

}  // namespace

std::string titlesPlaylist() {
  return kTitlesHead + logoTitle() + featureTitle() + menuTitle() + kTail;
}

std::string bootPlaylist() {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<Playlist xmlns="http://www.dvdforum.org/2005/HDDVDVideo/Playlist" majorVersion="1" minorVersion="0" description="Tessaly sample disc: language selection" displayName="Tessaly Sample Disc">
  <Configuration>
    <StreamingBuffer size="0"/>
    <Aperture>1920x1080</Aperture>
    <MainVideoDefaultColor>108080</MainVideoDefaultColor>
  </Configuration>
  <TitleSet timeBase="60fps" tickBase="24fps" tickBaseDivisor="1" defaultLanguage="en">
    <!-- A menu application asks for the language; the titles are in VPLST000.XPL. -->
    <Title id="LanguageSelector" titleNumber="1" displayName="Language Selection" titleDuration="00:10:00:00" onEnd="LanguageSelector" type="Original">
    </Title>
  </TitleSet>
</Playlist>
)";
}

}  // namespace tessaly::tools
