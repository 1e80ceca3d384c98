#include "job/output_check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/paths.h"

namespace tessaly {
namespace {

// The longest file name the output's folder takes, or the system's reason why the
// folder cannot hold files (missing, not a folder, no access).
long nameLimit(const std::string& name) {
  const long limit = fileNameLimit(folderPart(name));
  if (limit < 0) throw createError(name, std::strerror(errno));
  return limit;
}

void checkLength(const std::string& name) {
  const bool tooLong = fileNamePart(name).size() > static_cast<std::size_t>(nameLimit(name)) ||
                       fullPath(name).size() >= PATH_MAX;
  if (tooLong) throw createError(name, std::strerror(ENAMETOOLONG));
}

// What already stands at the name: nothing, a regular file, or a link (which the output
// replaces, unless it leads to an input). The inputs are compared by device and inode,
// so hard links and symbolic links to them are found alike.
void checkExisting(const std::string& name, const std::vector<FileId>& inputs) {
  struct stat info {};
  if (::lstat(name.c_str(), &info) != 0) {
    if (errno == ENOENT) return;
    throw createError(name, std::strerror(errno));
  }
  if (const auto id = fileIdOf(name); id && std::ranges::find(inputs, *id) != inputs.end()) {
    throw createError(name, "It is one of the input files.");
  }
  if (S_ISDIR(info.st_mode)) throw createError(name, std::strerror(EISDIR));
  if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) throw createError(name, kNotRegularFile);
}

// Where a name puts its file: the folder, by device and inode, and the file name in it.
std::pair<FileId, std::string> placeOf(const std::string& name) {
  const std::string folder = folderPart(name);
  const auto id = fileIdOf(folder.empty() ? "." : folder);
  if (!id) throw createError(name, std::strerror(errno));
  return {*id, fileNamePart(name)};
}

}  // namespace

void NameCheck::check(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    checkLength(name);
    const auto place = placeOf(name);
    if (std::ranges::find(places_, place) != places_.end()) {
      throw createError(name, "It is also the output of another stream.");
    }
    places_.push_back(place);
    checkExisting(name, inputs_);
  }
}

std::vector<FileId> inputIds(const std::vector<std::string>& paths) {
  std::vector<FileId> ids;
  for (const std::string& path : paths) {
    if (const auto id = fileIdOf(path)) ids.push_back(*id);
  }
  return ids;
}

}  // namespace tessaly
