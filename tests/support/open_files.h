// Whether the process still holds a file open: what a job must never leave behind.
#pragma once

#include <filesystem>
#include <string>

namespace tessaly::testing {

// True when one of the process's file descriptors leads to `path` (or, with `prefix`,
// to any file whose path starts with it).
inline bool heldOpen(const std::string& path, bool prefix = false) {
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(fd.path(), error).string();
    if (target == path || (prefix && target.rfind(path, 0) == 0)) return true;
  }
  return false;
}

}  // namespace tessaly::testing
