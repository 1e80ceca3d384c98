// The folders of a disc as the disc model reads them: names matched ignoring case, as
// discs copied from UDF to other file systems keep or lose it, and only regular files
// and folders seen (no links).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/disc_files.h"

namespace tessaly {

class Folder {
 public:
  // Lists `path` in `files`; a folder that cannot be read lists nothing.
  Folder(const DiscFiles& files, std::string path);

  // The entry named `name` ignoring case, or nullptr.
  const DiscEntry* find(const std::string& name) const;
  // The path of entry `entry`.
  std::string pathOf(const DiscEntry& entry) const;
  const std::vector<DiscEntry>& entries() const { return entries_; }

 private:
  const DiscFiles& files_;
  std::string path_;
  std::vector<DiscEntry> entries_;
  std::map<std::string, std::size_t> byName_;  // upper-cased name -> the first such entry
};

// The disc folder of `path` on disk: the nearest folder, from `path` up, that holds
// HVDVD_TS; nullopt when there is none.
std::optional<std::string> findDiscFolder(const std::string& path);

// The same, or throws "No HD DVD disc at "PATH": no HVDVD_TS folder in it or above it".
std::string discFolder(const std::string& path);

}  // namespace tessaly
