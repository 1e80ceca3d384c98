// Playlists shared by the playlist tests: the attribute lists example and the title
// example, whose clips reference FEATURE_1.MAP as real discs do.
#pragma once

#include <string>
#include <vector>

namespace tessaly::testing {

// The MLP item is split over two lines, its second line indented by eight spaces.
inline const std::string kAttributeLists =
    "<?xml version=\"1.0\"?>\n"
    "<Playlist displayName=\"Sample Disc\">\n"
    "  <!-- comment -->\n"
    "  <List>\n"
    "    <VideoAttributeItem index=\"1\" codec=\"VC-1\"/>\n"
    "    <AudioAttributeItem index=\"1\" codec=\"DD+\" channels=\"6\"/>\n"
    "    <AudioAttributeItem index=\"2\" codec=\"MLP\"\n"
    "        channels=\"8\"/>\n"
    "  </List>\n"
    "</Playlist>\n";

// Two titles as memo lines; the second one plays FEATURE_1.
inline const std::vector<std::string> kTitleLines{
    "<Playlist displayName=\"Sample Disc\">",
    "    <Title displayName=\"Extras\" titleDuration=\"00:05:00\">",
    "      <PrimaryAudioVideoClip src=\"file:///dvddisc/HVDVD_TS/EXTRA_1.MAP\"/>",
    "    </Title>",
    "    <Title displayName=\"Main\" titleDuration=\"01:30:00\">",
    "      <PrimaryAudioVideoClip src=\"file:///dvddisc/HVDVD_TS/FEATURE_1.MAP\">",
    "        <Video track=\"1\" mediaAttr=\"1\"/>",
    "        <Audio track=\"1\" streamNumber=\"1\" mediaAttr=\"1\" description=\"English\"/>",
    "        <Audio track=\"2\" streamNumber=\"1\" mediaAttr=\"1\" description=\"Again\"/>",
    "        <Subtitle track=\"1\" streamNumber=\"2\" mediaAttr=\"1\" description=\"French\"/>",
    "      </PrimaryAudioVideoClip>",
    "      <Chapter titleTimeBegin=\"00:00:00\" displayName=\"Start\"/>",
    "      <Chapter titleTimeBegin=\"00:45:00\"/>",
    "    </Title>",
    "</Playlist>",
};

// A whole playlist file with CR LF line ends: the titles, and attribute items that
// make their labels VC-1, DD+.6ch and SP.
inline std::string discPlaylist() {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + kTitleLines[0] +
                     "\r\n<MediaAttributeList>\r\n<VideoAttributeItem index=\"1\" codec=\"VC-1\"/>"
                     "<AudioAttributeItem index=\"1\" codec=\"DD+\" channels=\"6\"/>"
                     "<SubpictureAttributeItem index=\"1\" codec=\"SP\"/>\r\n"
                     "</MediaAttributeList>\r\n";
  for (std::size_t n = 1; n < kTitleLines.size(); ++n) text += kTitleLines[n] + "\r\n";
  return text;
}

}  // namespace tessaly::testing
