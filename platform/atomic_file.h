// Replacing a small file so that a crash or a full disk never leaves it half written.
#pragma once

#include <string>

namespace tessaly {

// Writes `contents` to a new file beside `path` (creating the folder when needed), syncs
// it and renames it over `path`; a symbolic link at `path` keeps pointing at the new
// file, which keeps the old file's mode. Returns false, with the old file untouched, when
// any step fails.
bool replaceFile(const std::string& path, const std::string& contents);

}  // namespace tessaly
