// The playlist facts, read from the tags in file order beside the title phase's run: every
// title, and for the title that plays the chosen EVO file its streams' languages and
// descriptions and its chapters in milliseconds.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "playlist/xml_tag.h"
#include "shell/title_facts.h"

namespace tessaly {

// A time "HH:MM:SS:FF" (FF frames of 1/fps s) or "HH:MM:SS" in milliseconds, rounded to
// the nearest; -1 when it is neither.
std::int64_t timeMs(const std::string& time, int fps);

// The frames per second of a title set's timeBase: "50fps" 50, "60fps" 60 and any other
// "Nfps" N; 60 when it is absent or unreadable.
int timeBaseFps(const std::string& timeBase);

class FactsReader {
 public:
  // The title that plays the chosen EVO file is found as the title phase finds it: the
  // first tag that mentions baseName (not the playlist's first tag) chooses the last
  // title opened before it.
  FactsReader(const std::string& file, const std::string& baseName);

  // The next tag text of the playlist, as the scanner cut it.
  void tag(const std::string& text);
  // The facts, once every tag was read.
  PlaylistFacts finish();

 private:
  void match(const std::string& text);
  void titleSetTag(const XmlTag& tag);
  void openTitle(const XmlTag& tag);
  void closeTitle();
  void contentTag(TitleFacts& title, const XmlTag& tag);
  void streamTag(TitleFacts& title, const XmlTag& tag, bool audio);
  void chapterTag(TitleFacts& title, const XmlTag& tag);

  PlaylistFacts facts_;
  std::size_t tags_ = 0;
  bool matched_ = false;
  bool inTitle_ = false;
  std::size_t chapters_ = 0;     // the current title's chapter elements so far
  int fps_ = 60;                 // the current title set's timeBase
  std::string defaultLanguage_;  // and its defaultLanguage
  // The current title's streams that gave no langcode, by streamNumber: their track
  // number, whose navigation track may give it; audio and subtitle.
  std::array<std::map<std::int32_t, std::int32_t>, 2> trackOf_;
  // The current title's navigation tracks: track number -> language.
  std::array<std::map<std::int32_t, std::string>, 2> trackLanguage_;
};

// A chapter's 1-based number in at least two digits, as its default name and the
// simple chapter file write it.
std::string chapterNumber(std::size_t number);

// Milliseconds as HH:MM:SS.mmm.
std::string clockText(std::int64_t ms);

// One line for a title: number, name, id, duration, chapters and clip files.
std::string titleLine(const TitleFacts& title);

}  // namespace tessaly
