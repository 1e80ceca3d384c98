#include "platform/scratch_folder.h"

#include <stdlib.h>

#include <filesystem>

#include "platform/error.h"

namespace tessaly {

ScratchFolder::ScratchFolder(const std::string& inside, const std::string& name) {
  const bool separated = !inside.empty() && inside.back() == '/';
  std::string pattern = inside + (separated ? "" : "/") + ".tessaly-" + name + "-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw Error("Cannot create a folder in \"" + inside + "\"");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace tessaly
