#include "cli/early_checks.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

#include "mux/mkvmerge_run.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace tessaly::cli {
namespace {

namespace fs = std::filesystem;

// A folder as the messages show it, without a final "/".
std::string shown(const std::string& folder) {
  std::string path = fullPath(folder.empty() ? "." : folder);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The folder when it exists, else its nearest existing parent: where it will be made.
std::string existingPart(const std::string& folder) {
  fs::path path = shown(folder);
  std::error_code ignored;
  while (!fs::exists(path, ignored) && path.has_relative_path()) path = path.parent_path();
  return path.string();
}

// Why files cannot be made in `place`; empty when they can.
std::string unwritable(const std::string& place) {
  struct stat info {};
  if (::stat(place.c_str(), &info) != 0) return std::strerror(errno);
  if (!S_ISDIR(info.st_mode)) return std::strerror(ENOTDIR);
  if (::access(place.c_str(), W_OK | X_OK) != 0) return std::strerror(errno);
  return "";
}

// The folder takes files, or, when it is missing and `made` (the verb makes it), its
// nearest existing parent takes the folder.
void checkFolder(const std::string& folder, bool made) {
  const std::string place = existingPart(folder);
  const bool missing = place != shown(folder);
  const std::string why = missing && !made ? std::strerror(ENOENT) : unwritable(place);
  if (why.empty()) return;
  const char* what = missing && made ? "Cannot create folder \"" : "Cannot write into folder \"";
  throw Error(what + shown(folder) + "\". " + why);
}

// What one file system must hold: the folder named in the message, and the bytes.
struct Need {
  std::string folder;
  dev_t device = 0;
  std::uint64_t bytes = 0;
};

dev_t deviceOf(const std::string& place) {
  struct stat info {};
  return ::stat(place.c_str(), &info) == 0 ? info.st_dev : 0;
}

// The outputs take as much as the inputs, and the film as much again.
std::vector<Need> needs(const EarlyChecks& checks) {
  const auto bytes = static_cast<std::uint64_t>(checks.inputBytes);
  std::vector<Need> all{{checks.outputFolder, deviceOf(existingPart(checks.outputFolder)), bytes}};
  if (checks.film.empty()) return all;
  const std::string folder = folderPart(checks.film);
  const dev_t film = deviceOf(existingPart(folder));
  if (film == all.front().device) {
    all.front().bytes += bytes;
  } else {
    all.push_back({folder, film, bytes});
  }
  return all;
}

void checkSpace(const EarlyChecks& checks, const FreeSpace& free) {
  for (const Need& need : needs(checks)) {
    const auto available = free(existingPart(need.folder));
    if (!available || *available >= need.bytes) continue;
    throw Error("Not enough free space in \"" + shown(need.folder) + "\": " + sizeText(*available) +
                " free, " + sizeText(need.bytes) + " needed (--no-space-check to go on)");
  }
}

}  // namespace

std::optional<std::uint64_t> freeSpace(const std::string& folder) {
  struct statvfs info {};
  if (::statvfs(folder.c_str(), &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

void checkBeforeReading(const EarlyChecks& checks, const FreeSpace& free) {
  checkFolder(checks.outputFolder, true);
  if (!checks.film.empty()) {
    const std::string folder = folderPart(checks.film);
    checkFolder(folder, shown(folder) == shown(checks.outputFolder));
    requireMkvmerge("leave out --mkv");
  }
  if (checks.spaceCheck) checkSpace(checks, free);
}

std::string sizeText(std::uint64_t bytes) {
  if (bytes < 1000) return std::to_string(bytes) + " bytes";
  const char* unit = bytes < 1000000 ? "kB" : bytes < 1000000000 ? "MB" : "GB";
  const double scale = bytes < 1000000 ? 1e3 : bytes < 1000000000 ? 1e6 : 1e9;
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", static_cast<double>(bytes) / scale, unit);
  return text;
}

}  // namespace tessaly::cli
