#include "engine/disc_files.h"

#include <filesystem>
#include <system_error>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// Real disc folders hold a few hundred files; a hostile one is not listed further.
constexpr std::size_t kMaxEntries = 65536;

}  // namespace

std::vector<DiscEntry> FolderFiles::list(const std::string& folder) const {
  std::vector<DiscEntry> entries;
  std::error_code error;
  for (fs::directory_iterator at(folder, error), end; !error && at != end; at.increment(error)) {
    if (entries.size() == kMaxEntries) break;
    const fs::file_status status = at->symlink_status(error);
    if (error) break;
    DiscEntry entry{at->path().filename().string(), fs::is_directory(status), 0};
    if (!entry.folder && !fs::is_regular_file(status)) continue;
    if (!entry.folder) entry.size = static_cast<std::int64_t>(at->file_size(error));
    if (error) break;
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string FolderFiles::pathOf(const std::string& folder, const std::string& name) const {
  return (fs::path(folder) / name).string();
}

std::unique_ptr<PassInput> FolderFiles::open(const std::string& path, Access access) const {
  return std::make_unique<FileInput>(path, access);
}

const DiscFiles& folderFiles() {
  static const FolderFiles files;
  return files;
}

}  // namespace tessaly
