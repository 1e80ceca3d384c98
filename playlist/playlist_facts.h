// The playlist facts, read from the tags in file order beside the title phase's run: every
// title, and for the title that plays the chosen EVO file its streams' languages and
// descriptions and its chapters in milliseconds.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "playlist/title_cut.h"
#include "playlist/title_facts.h"
#include "playlist/xml_tag.h"

namespace tessaly {

// The clock of a title set's timeBase: one count of HH:MM:SS:FF lasts numerator /
// denominator seconds, and perSecond counts make one SS.
struct TimeBase {
  std::int64_t perSecond;
  std::int64_t numerator;
  std::int64_t denominator;
};

// "60fps" counts fields of 59.94 Hz video, 1001/60000 s each; "50fps" fields of 50 Hz
// video, 1/50 s. Any other value, and none, is the 60fps clock that every real disc uses.
TimeBase timeBase(const std::string& attribute);

// A time "HH:MM:SS:FF", or "HH:MM:SS" with FF 0, on the clock `base` in milliseconds,
// rounded to the nearest: ((HH*60+MM)*60+SS)*perSecond+FF counts. FF counts timeBase
// frames, whatever the tickBase. -1 when the text is neither form.
std::int64_t timeMs(const std::string& time, const TimeBase& base);

// The same time in counts of the clock, exact; -1 when the text is neither form.
std::int64_t timeCounts(const std::string& time, const TimeBase& base);

// A title's number, id, name and duration from its <Title> tag on the clock `base`;
// `position` (1-based) numbers a title whose titleNumber is missing or out of range.
TitleFacts titleHead(const XmlTag& tag, const TimeBase& base, std::size_t position);

// A <Chapter> tag as the chapter `position` (1-based) of its title; nullopt when its start
// cannot be read (the chapter keeps its number all the same).
std::optional<ChapterFact> chapterFact(const XmlTag& tag, const TimeBase& base,
                                       std::size_t position);

// A clip tag (its name ends in "Clip") with its src; a PrimaryAudioVideoClip's
// titleTimeBegin and titleTimeEnd on the clock `base`.
ClipFact clipFact(const XmlTag& tag, const TimeBase& base);

class FactsReader {
 public:
  // `baseName`: the base name of the EVO file whose title is looked for.
  FactsReader(const std::string& file, const std::string& baseName);

  // The next tag text of the playlist, as the scanner cut it, once `match` was given it:
  // the tag that picks the title playing the EVO file picks the last one opened before it.
  void tag(const std::string& text, const TitleMatch& match);
  // The facts, once every tag was read.
  PlaylistFacts finish();

 private:
  void titleSetTag(const XmlTag& tag);
  void openTitle(const XmlTag& tag);
  void closeTitle();
  void contentTag(TitleFacts& title, const XmlTag& tag);
  void audioItemTag(const XmlTag& tag);
  void streamTag(TitleFacts& title, const XmlTag& tag, bool audio);
  void chapterTag(TitleFacts& title, const XmlTag& tag);

  PlaylistFacts facts_;
  bool matched_ = false;  // the title that plays the EVO file is decided
  bool inTitle_ = false;
  std::size_t chapters_ = 0;       // the current title's chapter elements so far
  TimeBase clock_ = timeBase("");  // the current title set's timeBase
  std::string defaultLanguage_;    // and its defaultLanguage
  // The current title's streams that gave no langcode, by streamNumber: their track
  // number, whose navigation track may give it; audio and subtitle.
  std::array<std::map<std::int32_t, std::int32_t>, 2> trackOf_;
  // The current title's navigation tracks: track number -> langcode.
  std::array<std::map<std::int32_t, std::string>, 2> trackLangcode_;
  // The AudioAttributeItems that give their channels: index -> channels.
  std::map<std::int64_t, int> audioChannels_;
};

// A chapter's 1-based number in at least two digits, as its default name and the
// simple chapter file write it.
std::string chapterNumber(std::size_t number);

// Milliseconds as HH:MM:SS.mmm.
std::string clockText(std::int64_t ms);

// One line for a title: number, name, id, duration, chapters and clip files.
std::string titleLine(const TitleFacts& title);

}  // namespace tessaly
