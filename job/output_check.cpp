#include "job/output_check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "shell/paths.h"

namespace tessaly {
namespace {

// The longest file name the output's folder takes, or the system's reason why the
// folder cannot hold files (missing, not a folder, no access).
long nameLimit(const std::string& name) {
  const std::string folder = folderPart(name);
  errno = 0;
  const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  if (limit < 0 && errno != 0) throw createError(name, std::strerror(errno));
  return limit < 0 ? NAME_MAX : limit;
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

}  // namespace

void checkOutputNames(const std::vector<std::string>& names, const std::vector<FileId>& inputs) {
  for (auto name = names.begin(); name != names.end(); ++name) {
    checkLength(*name);
    if (std::find(names.begin(), name, *name) != name) {
      throw createError(*name, "It is also the output of another stream.");
    }
    checkExisting(*name, inputs);
  }
}

}  // namespace tessaly
