// The folders of a disc as the disc model reads them: names matched ignoring case, as
// discs copied from UDF to other file systems keep or lose it, and only regular files
// and folders seen (no links).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tessaly {

struct FolderEntry {
  std::string name;  // as the folder spells it
  bool folder = false;
  std::int64_t size = 0;  // of a regular file
};

class Folder {
 public:
  // Lists `path`; a folder that cannot be read lists nothing.
  explicit Folder(std::string path);

  // The entry named `name` ignoring case, or nullptr.
  const FolderEntry* find(const std::string& name) const;
  // The path of entry `entry`.
  std::string pathOf(const FolderEntry& entry) const;
  const std::vector<FolderEntry>& entries() const { return entries_; }

 private:
  std::string path_;
  std::vector<FolderEntry> entries_;
  std::map<std::string, std::size_t> byName_;  // upper-cased name -> the first such entry
};

// The disc folder of `path`: the nearest folder, from `path` up, that holds HVDVD_TS.
// Throws "No HD DVD disc at "PATH": no HVDVD_TS folder in it or above it".
std::string discFolder(const std::string& path);

}  // namespace tessaly
