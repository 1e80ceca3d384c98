// A disc image as the files of a disc (DiscFiles): the disc model lists its folders and the
// jobs read its files in place, each named "IMAGE.iso:/HVDVD_TS/FEATURE_1.EVO"; the image
// itself is the disc's top folder.
#pragma once

#include <string>

#include "disc_image/disc_image.h"
#include "engine/disc_files.h"

namespace tessaly {

class ImageFiles final : public DiscFiles {
 public:
  // Opens the image; throws as DiscImage does (imageError, or "Cannot open file ...").
  explicit ImageFiles(const std::string& image);

  // The image's path as it was given: the disc's top folder.
  const std::string& root() const { return image_.path(); }

  std::vector<DiscEntry> list(const std::string& folder) const override;
  std::string pathOf(const std::string& folder, const std::string& name) const override;
  // Throws "Cannot open file ..." for a path that is no file in the image, and imageError.
  // `access` is the image's, as it was opened once for all its files: shared.
  std::unique_ptr<PassInput> open(const std::string& path, Access access) const override;
  bool exists(const std::string& path) const override;
  // The image, for every file in it.
  std::optional<FileId> holder(const std::string& path) const override;

 private:
  // The folder or file `path` names in the image; nullptr for the root and for none.
  const ImageEntry* entryAt(const std::string& path) const;

  DiscImage image_;
};

}  // namespace tessaly
