// An HD DVD kept as a disc image (an ISO file): its UDF file system walked once when it
// opens, its HVDVD_TS and ADV_OBJ folders found however the image spells them, and its
// files read in place. Above the platform layer: only the front ends and the tests use it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "disc_image/image_file.h"
#include "platform/files.h"

namespace tessaly {

class UdfVolume;

struct ImageEntry {
  std::vector<std::string> names;  // from the root: {"HVDVD_TS", "FEATURE_1.EVO"}
  std::string path;                // "/HVDVD_TS/FEATURE_1.EVO"
  std::int64_t size = 0;           // bytes; 0 for a folder
  bool folder = false;
};

class DiscImage {
 public:
  // Opens the image (a regular file: else "Cannot open file ..."), reads its file system
  // and lists every folder. Throws imageError when the image holds no UDF file system, is
  // truncated or damaged (folders nested deeper than a disc has, as a folder holding
  // itself makes them, or more entries than a disc holds), or has no HVDVD_TS folder.
  explicit DiscImage(const std::string& path, Access access = Access::Shared);
  ~DiscImage();
  DiscImage(const DiscImage&) = delete;
  DiscImage& operator=(const DiscImage&) = delete;

  // The image's path as it was given.
  const std::string& path() const;
  // The image file's own: no output may be written over it.
  const FileId& id() const { return image_->id(); }
  // Every file and folder, sorted by path.
  const std::vector<ImageEntry>& entries() const { return entries_; }
  // The HVDVD_TS folder at the root, in whatever case the image has it.
  const ImageEntry& titleSetFolder() const { return entries_[titleSet_]; }
  // The ADV_OBJ folder at the root (the playlists), nullptr when the image has none.
  const ImageEntry* advancedFolder() const;
  // The files directly in `folder`, sorted by name.
  std::vector<const ImageEntry*> filesIn(const ImageEntry& folder) const;
  // The entry at `path` ("/ADV_OBJ/VPLST000.XPL"), letters of any case; nullptr if none.
  const ImageEntry* find(std::string_view path) const;
  // The file, for reading from its start; it keeps the image open while it lives. Throws
  // imageError.
  ImageFile open(const ImageEntry& file) const;

 private:
  std::shared_ptr<InputFile> image_;
  std::unique_ptr<UdfVolume> volume_;
  std::vector<ImageEntry> entries_;
  std::size_t titleSet_ = 0;
  std::size_t advanced_ = 0;  // entries_.size() without one
};

}  // namespace tessaly
