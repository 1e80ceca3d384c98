#include "disc/disc_folder.h"

#include <filesystem>
#include <system_error>

#include "platform/error.h"
#include "playlist/attr_value.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

constexpr const char* kVideoFolder = "HVDVD_TS";

bool holdsVideoFolder(const fs::path& folder) {
  const Folder listed(folderFiles(), folder.string());  // owns the entry found in it
  const DiscEntry* video = listed.find(kVideoFolder);
  return video && video->folder;
}

}  // namespace

Folder::Folder(const DiscFiles& files, std::string path)
    : files_(files), path_(std::move(path)), entries_(files.list(path_)) {
  for (std::size_t n = 0; n < entries_.size(); ++n)
    byName_.emplace(upperAscii(entries_[n].name), n);
}

const DiscEntry* Folder::find(const std::string& name) const {
  const auto found = byName_.find(upperAscii(name));
  return found == byName_.end() ? nullptr : &entries_[found->second];
}

std::string Folder::pathOf(const DiscEntry& entry) const {
  return files_.pathOf(path_, entry.name);
}

std::optional<std::string> findDiscFolder(const std::string& path) {
  std::error_code error;
  fs::path at = fs::absolute(path, error).lexically_normal();
  if (!error && !fs::exists(at, error)) at.clear();
  if (!error && at.has_filename() && !fs::is_directory(at, error)) at = at.parent_path();
  for (; !error && !at.empty(); at = at.parent_path()) {
    if (!at.has_filename()) at = at.parent_path();  // "disc/" as "disc"
    if (holdsVideoFolder(at)) return at.string();
    if (at == at.root_path()) break;
  }
  return std::nullopt;
}

std::string discFolder(const std::string& path) {
  if (auto folder = findDiscFolder(path)) return *folder;
  throw Error("No HD DVD disc at \"" + path + "\": no HVDVD_TS folder in it or above it");
}

}  // namespace tessaly
