// A title's chapters as the files that muxers read: Matroska chapter XML (what
// `mkvmerge --chapters` takes) and the simple CHAPTERnn=/CHAPTERnnNAME= text.
#pragma once

#include <string>

#include "playlist/title_facts.h"

namespace tessaly {

// Matroska chapter XML, one edition, well-formed and UTF-8 whatever the names hold;
// ChapterLanguage is the ISO 639-2 code of the title set's defaultLanguage, left out when
// it has none or one that is no ISO 639 code.
std::string matroskaChapters(const TitleFacts& title);

// CHAPTER01=00:00:00.000 and CHAPTER01NAME=Opening, a pair per chapter.
std::string simpleChapters(const TitleFacts& title);

// The file for `path`: Matroska XML when it ends in ".xml" (in any case), else the text.
std::string chapterFile(const TitleFacts& title, const std::string& path);

}  // namespace tessaly
