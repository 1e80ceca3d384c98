#include "disc_image/image_file.h"

#include <algorithm>

namespace tessaly {

ImageFile::ImageFile(std::unique_ptr<UdfFile> file, std::string path, FileId image)
    : file_(std::move(file)), path_(std::move(path)), id_(image), size_(file_->size()) {}

std::span<const std::uint8_t> ImageFile::next(std::size_t size) {
  if (taken_ == filled_) {
    if (block_.empty()) block_.resize(InputFile::kBlockSize);
    taken_ = filled_ = 0;
    filled_ = file_->read(block_.data(), block_.size());
  }
  const std::size_t count = std::min(size, filled_ - taken_);
  const std::span<const std::uint8_t> chunk(block_.data() + taken_, count);
  taken_ += count;
  position_ += static_cast<std::int64_t>(count);
  return chunk;
}

}  // namespace tessaly
