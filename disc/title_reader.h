// Reads one playlist's titles for the disc model: the tags in file order, as the
// playlist's scanner cuts them, into titles with their clips, chapters and tracks.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "disc/disc.h"
#include "playlist/playlist_facts.h"
#include "playlist/xml_tag.h"

namespace tessaly {

class TitleReader {
 public:
  // The next tag text of the playlist.
  void tag(const std::string& text);
  // The titles, once every tag was read; the EVOs of their clips are not looked for yet.
  std::vector<DiscTitle> finish();

 private:
  // An Audio or Subtitle element of a clip, or an AudioTrack or SubtitleTrack element of
  // the title's TrackNavigationList.
  struct TrackElement {
    int stream = 0;
    int mediaAttr = 0;
    std::string langcode;
    std::string description;
  };
  using Tracks = std::map<int, TrackElement>;  // by track number
  enum Kind : std::size_t { kAudio = 0, kSubtitle = 1 };

  void attributeItem(const XmlTag& tag, Kind kind);
  void openTitle(const XmlTag& tag);
  void closeTitle();
  void titleContent(const XmlTag& tag);
  void openClip(const XmlTag& tag);
  void trackTag(Tracks& tracks, const XmlTag& tag, bool withStream);
  std::vector<DiscTrack> titleTracks(Kind kind) const;

  std::array<std::map<int, std::string>, 2> codecs_;  // MediaAttributeList: index -> codec
  std::array<std::map<int, int>, 2> channels_;        // index -> channels, where given
  std::array<std::size_t, 2> attributeItems_{};       // the items of each kind met so far
  TimeBase clock_ = timeBase("");                     // of the current title set
  std::string defaultLanguage_;                       // of the current title set
  std::vector<DiscTitle> titles_;
  std::size_t clips_ = 0;  // in the playlist so far
  bool inTitle_ = false;
  bool inClip_ = false;
  std::size_t chapters_ = 0;  // the current title's chapter elements so far
  // The current title's clip elements, clip by clip, and its navigation tracks.
  std::vector<std::array<Tracks, 2>> clipTracks_;
  std::array<Tracks, 2> navigation_;
};

}  // namespace tessaly
