#include "platform/write_room.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// The folder when it exists, else its nearest existing parent: where it will be made.
std::string existingPart(const std::string& folder) {
  fs::path path = shownFolder(folder);
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

dev_t deviceOf(const std::string& place) {
  struct stat info {};
  return ::stat(place.c_str(), &info) == 0 ? info.st_dev : 0;
}

// What one file system must hold: the folder named for it, and the bytes.
struct Part {
  std::string folder;
  dev_t device = 0;
  std::uint64_t bytes = 0;
};

// The outputs take as much as the inputs, and the film as much again.
std::vector<Part> parts(const SpaceNeed& need) {
  std::vector<Part> all{{need.folder, deviceOf(existingPart(need.folder)), need.inputBytes}};
  if (need.film.empty()) return all;
  const std::string folder = folderPart(need.film);
  const dev_t film = deviceOf(existingPart(folder));
  if (film == all.front().device) {
    all.front().bytes += need.inputBytes;
  } else {
    all.push_back({folder, film, need.inputBytes});
  }
  return all;
}

}  // namespace

std::string shownFolder(const std::string& folder) {
  std::string path = fullPath(folder.empty() ? "." : folder);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::optional<std::uint64_t> freeSpace(const std::string& folder) {
  struct statvfs info {};
  if (::statvfs(folder.c_str(), &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

void checkFolder(const std::string& folder, bool made) {
  const std::string place = existingPart(folder);
  const bool missing = place != shownFolder(folder);
  const std::string why = missing && !made ? std::strerror(ENOENT) : unwritable(place);
  if (why.empty()) return;
  const char* what = missing && made ? "Cannot create folder \"" : "Cannot write into folder \"";
  throw Error(what + shownFolder(folder) + "\". " + why);
}

std::optional<SpaceShortfall> spaceShortfall(const SpaceNeed& need, const FreeSpace& free) {
  for (const Part& part : parts(need)) {
    const auto available = free(existingPart(part.folder));
    if (available && *available < part.bytes) {
      return SpaceShortfall{shownFolder(part.folder), *available, part.bytes};
    }
  }
  return std::nullopt;
}

std::string shortfallText(const SpaceShortfall& shortfall) {
  return "Not enough free space in \"" + shortfall.folder + "\": " + sizeText(shortfall.free) +
         " free, " + sizeText(shortfall.needed) + " needed";
}

std::string sizeText(std::uint64_t bytes) {
  if (bytes < 1000) return std::to_string(bytes) + " bytes";
  const char* unit = bytes < 1000000 ? "kB" : bytes < 1000000000 ? "MB" : "GB";
  const double scale = bytes < 1000000 ? 1e3 : bytes < 1000000000 ? 1e6 : 1e9;
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", static_cast<double>(bytes) / scale, unit);
  return text;
}

std::uint64_t filesSize(const std::vector<std::string>& paths) {
  std::uint64_t bytes = 0;
  for (const std::string& path : paths) {
    std::error_code missing;
    const auto size = fs::file_size(path, missing);
    if (!missing) bytes += size;
  }
  return bytes;
}

}  // namespace tessaly
