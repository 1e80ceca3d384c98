// Files the command line writes beside the outputs: the report and the chapter file.
#pragma once

#include <string>

namespace tessaly::cli {

// Creates (or truncates) `path` and writes `text` into it, through the file layer:
// "Cannot create file ..." or "Stream write error" on failure.
void writeTextFile(const std::string& path, const std::string& text);

}  // namespace tessaly::cli
