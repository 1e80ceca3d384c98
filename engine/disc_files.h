// The files a disc is read from, behind one seam: a folder on disk (FolderFiles), or a disc
// image read in place (disc_image/, which the front ends pick). The disc model lists its
// folders through it and the jobs open their inputs through it, knowing paths only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/pass_input.h"
#include "platform/files.h"

namespace tessaly {

struct DiscEntry {
  std::string name;  // as the disc spells it
  bool folder = false;
  std::int64_t size = 0;  // of a regular file
};

class DiscFiles {
 public:
  virtual ~DiscFiles() = default;
  // The regular files and folders in `folder` (no links), in no set order; a folder that
  // cannot be read lists nothing.
  virtual std::vector<DiscEntry> list(const std::string& folder) const = 0;
  // The path of `name` in `folder`, as messages show it.
  virtual std::string pathOf(const std::string& folder, const std::string& name) const = 0;
  // The file for a pass, from its start; throws "Cannot open file ...".
  virtual std::unique_ptr<PassInput> open(const std::string& path, Access access) const = 0;
  // Whether `path` is a regular file now.
  virtual bool exists(const std::string& path) const = 0;
  // The file on disk that holds the bytes of `path` (itself, or the image it is in), which
  // no output may be written over; nullopt when there is none.
  virtual std::optional<FileId> holder(const std::string& path) const = 0;
};

// The files of folders on disk.
class FolderFiles final : public DiscFiles {
 public:
  std::vector<DiscEntry> list(const std::string& folder) const override;
  std::string pathOf(const std::string& folder, const std::string& name) const override;
  std::unique_ptr<PassInput> open(const std::string& path, Access access) const override;
  bool exists(const std::string& path) const override { return fileExists(path); }
  std::optional<FileId> holder(const std::string& path) const override { return fileIdOf(path); }
};

// The one FolderFiles, for requests that name files on disk.
const DiscFiles& folderFiles();

}  // namespace tessaly
