// A title's chapters as the files that muxers read: Matroska chapter XML (what
// `mkvmerge --chapters` takes) and the simple CHAPTERnn=/CHAPTERnnNAME= text.
#pragma once

#include <string>

#include "shell/title_facts.h"

namespace tessaly {

// Matroska chapter XML in UTF-8, one edition; ChapterLanguage is the title set's
// defaultLanguage (left out when it has none).
std::string matroskaChapters(const TitleFacts& title);

// CHAPTER01=00:00:00.000 and CHAPTER01NAME=Opening, a pair per chapter.
std::string simpleChapters(const TitleFacts& title);

// The file for `path`: Matroska XML when it ends in ".xml" (in any case), else the text.
std::string chapterFile(const TitleFacts& title, const std::string& path);

}  // namespace tessaly
