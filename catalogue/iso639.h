// Language codes as the tools of the field take them: ISO 639-2 (three letters) and
// ISO 639-1 (two, as HD DVD playlists write them), from Debian's iso-codes.
#pragma once

#include <optional>
#include <string>

namespace tessaly {

// The ISO 639-2 code that Matroska stores for `code`: "en" gives "eng", "fr" and "fra"
// give "fre" (the bibliographic code, which mkvmerge --list-languages shows), "eng" stays.
// nullopt for anything that is no ISO 639-1 or 639-2 code ("zz", "xyz", "english", "EN").
std::optional<std::string> matroskaLanguage(const std::string& code);

// The language's English name, as iso-codes gives it first: "en", "eng" give "English",
// "fr", "fra", "fre" "French"; nullopt for what matroskaLanguage() takes for no code.
std::optional<std::string> languageName(const std::string& code);

// True for an ISO 639-1 or 639-2 code.
bool knownLanguage(const std::string& code);

}  // namespace tessaly
