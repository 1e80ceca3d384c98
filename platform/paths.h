// Splitting paths the way the file choice does: the separator is "/".
#pragma once

#include <string>

namespace tessaly {

constexpr char kSeparator = '/';

// The file-name part: everything after the last separator.
std::string fileNamePart(const std::string& path);
// The folder part, including its final separator; empty when there is none.
std::string folderPart(const std::string& path);
// True when text ends with suffix (case-sensitive).
bool endsWith(const std::string& text, const std::string& suffix);
// The extension of the file-name part, from its last "." on, in upper case (".EVO").
std::string upperExtension(const std::string& path);

}  // namespace tessaly
