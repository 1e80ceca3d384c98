#include "playlist/chapter_files.h"

#include "catalogue/iso639.h"
#include "platform/paths.h"
#include "platform/utf8_text.h"
#include "playlist/attr_value.h"
#include "playlist/playlist_facts.h"

namespace tessaly {
namespace {

// Character data of any input that XML 1.0 can carry: markup escaped, the characters it
// cannot hold and bytes that are not UTF-8 as U+FFFD.
std::string xmlEscaped(const std::string& text) {
  std::string out;
  for (char c : xmlCharacters(text)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::string matroskaChapters(const TitleFacts& title) {
  const auto language = matroskaLanguage(title.defaultLanguage);
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE Chapters SYSTEM \"matroskachapters.dtd\">\n"
      "<Chapters>\n"
      "  <EditionEntry>\n";
  for (const ChapterFact& chapter : title.chapters) {
    xml += "    <ChapterAtom>\n      <ChapterTimeStart>" + clockText(chapter.startMs) +
           "</ChapterTimeStart>\n      <ChapterDisplay>\n        <ChapterString>" +
           xmlEscaped(chapter.name) + "</ChapterString>\n";
    if (language) xml += "        <ChapterLanguage>" + *language + "</ChapterLanguage>\n";
    xml += "      </ChapterDisplay>\n    </ChapterAtom>\n";
  }
  return xml + "  </EditionEntry>\n</Chapters>\n";
}

std::string simpleChapters(const TitleFacts& title) {
  std::string text;
  for (std::size_t n = 0; n < title.chapters.size(); ++n) {
    const std::string key = "CHAPTER" + chapterNumber(n + 1);
    text += key + "=" + clockText(title.chapters[n].startMs) + "\n";
    text += key + "NAME=" + title.chapters[n].name + "\n";
  }
  return text;
}

std::string chapterFile(const TitleFacts& title, const std::string& path) {
  return endsWith(upperAscii(path), ".XML") ? matroskaChapters(title) : simpleChapters(title);
}

}  // namespace tessaly
