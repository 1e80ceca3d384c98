// mkvmerge's option file: the JSON array of its arguments that `mkvmerge @FILE.json`
// reads, for users who edit the call before running it.
#pragma once

#include <string>
#include <vector>

namespace tessaly::cli {

// The file's text, UTF-8 as mkvmerge reads it; a name that is not valid UTF-8 cannot be
// written in it and throws an Error saying so.
std::string mkvmergeOptionFile(const std::vector<std::string>& arguments);

}  // namespace tessaly::cli
