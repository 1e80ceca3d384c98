#include "disc/disc_folder.h"

#include <filesystem>
#include <system_error>

#include "platform/error.h"
#include "playlist/attr_value.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// Real disc folders hold a few hundred files; a hostile one is not listed further.
constexpr std::size_t kMaxEntries = 65536;

constexpr const char* kVideoFolder = "HVDVD_TS";

bool holdsVideoFolder(const fs::path& folder) {
  const FolderEntry* video = Folder(folder.string()).find(kVideoFolder);
  return video && video->folder;
}

}  // namespace

Folder::Folder(std::string path) : path_(std::move(path)) {
  std::error_code error;
  for (fs::directory_iterator at(path_, error), end; !error && at != end; at.increment(error)) {
    if (entries_.size() == kMaxEntries) break;
    const fs::file_status status = at->symlink_status(error);
    if (error) break;
    FolderEntry entry{at->path().filename().string(), fs::is_directory(status), 0};
    if (!entry.folder && !fs::is_regular_file(status)) continue;
    if (!entry.folder) entry.size = static_cast<std::int64_t>(at->file_size(error));
    if (error) break;
    byName_.emplace(upperAscii(entry.name), entries_.size());
    entries_.push_back(std::move(entry));
  }
}

const FolderEntry* Folder::find(const std::string& name) const {
  const auto found = byName_.find(upperAscii(name));
  return found == byName_.end() ? nullptr : &entries_[found->second];
}

std::string Folder::pathOf(const FolderEntry& entry) const {
  return (fs::path(path_) / entry.name).string();
}

std::string discFolder(const std::string& path) {
  std::error_code error;
  fs::path at = fs::absolute(path, error).lexically_normal();
  if (!error && !fs::exists(at, error)) at.clear();
  if (!error && at.has_filename() && !fs::is_directory(at, error)) at = at.parent_path();
  for (; !error && !at.empty(); at = at.parent_path()) {
    if (!at.has_filename()) at = at.parent_path();  // "disc/" as "disc"
    if (holdsVideoFolder(at)) return at.string();
    if (at == at.root_path()) break;
  }
  throw Error("No HD DVD disc at \"" + path + "\": no HVDVD_TS folder in it or above it");
}

}  // namespace tessaly
