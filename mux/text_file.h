// Text files written beside the outputs: the report, the chapter file, mkvmerge's option
// file.
#pragma once

#include <string>

namespace tessaly {

// Creates (or truncates) `path` and writes `text` into it, through the file layer:
// "Cannot create file ..." or "Stream write error" on failure.
void writeTextFile(const std::string& path, const std::string& text);

}  // namespace tessaly
