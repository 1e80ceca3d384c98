// A file inside a disc image, read forward in chunks as InputFile reads a file on disk:
// the same next(), size(), position(), path() and id(), so that a pass takes either through
// one thin adapter. The chunks are cut from blocks of InputFile::kBlockSize that the image's
// blocks are read into directly: no copy of the file is made anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "disc_image/udf_volume.h"
#include "platform/files.h"

namespace tessaly {

class ImageFile {
 public:
  // `path` as imagePath() shows it; `image` the image file's own id.
  ImageFile(std::unique_ptr<UdfFile> file, std::string path, FileId image);

  // The next up to `size` bytes, valid until the next call; shorter where a block read
  // returned less, empty at the end. A failed read throws "Stream read error", its detail
  // naming the file inside the image.
  std::span<const std::uint8_t> next(std::size_t size);
  std::int64_t size() const { return size_; }
  std::int64_t position() const { return position_; }
  // "IMAGE.iso:/HVDVD_TS/FEATURE_1.EVO".
  const std::string& path() const { return path_; }
  // The image's: no output may be written over it.
  const FileId& id() const { return id_; }

 private:
  std::unique_ptr<UdfFile> file_;
  std::string path_;
  FileId id_;
  std::int64_t size_ = 0;
  std::int64_t position_ = 0;
  std::vector<std::uint8_t> block_;  // allocated at the first read
  std::size_t taken_ = 0;
  std::size_t filled_ = 0;
};

}  // namespace tessaly
