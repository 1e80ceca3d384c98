#include "disc_image/image_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "disc_image/image_path.h"

namespace tessaly {
namespace {

// A file inside the image as a pass reads it.
class ImageInput final : public PassInput {
 public:
  explicit ImageInput(ImageFile file) : file_(std::move(file)) {}

  std::span<const std::uint8_t> next(std::size_t size) override { return file_.next(size); }
  std::int64_t size() const override { return file_.size(); }
  std::int64_t position() const override { return file_.position(); }
  const std::string& path() const override { return file_.path(); }

 private:
  ImageFile file_;
};

}  // namespace

ImageFiles::ImageFiles(const std::string& image) : image_(image) {}

const ImageEntry* ImageFiles::entryAt(const std::string& path) const {
  const std::string prefix = imagePath(root(), "/");
  if (!path.starts_with(prefix)) return nullptr;
  return image_.find(path.substr(prefix.size() - 1));
}

std::vector<DiscEntry> ImageFiles::list(const std::string& folder) const {
  const ImageEntry* at = entryAt(folder);
  if (folder != root() && (!at || !at->folder)) return {};
  const std::size_t depth = at ? at->names.size() : 0;
  std::vector<DiscEntry> entries;
  for (const ImageEntry& entry : image_.entries()) {
    if (entry.names.size() == depth + 1 &&
        (!at || std::equal(at->names.begin(), at->names.end(), entry.names.begin()))) {
      entries.push_back({entry.names.back(), entry.folder, entry.size});
    }
  }
  return entries;
}

std::string ImageFiles::pathOf(const std::string& folder, const std::string& name) const {
  return folder == root() ? imagePath(root(), "/" + name) : folder + "/" + name;
}

std::unique_ptr<PassInput> ImageFiles::open(const std::string& path, Access /*access*/) const {
  const ImageEntry* entry = entryAt(path);
  if (!entry) throw openError(path, std::strerror(ENOENT));
  if (entry->folder) throw openError(path, kNotRegularFile);
  return std::make_unique<ImageInput>(image_.open(*entry));
}

bool ImageFiles::exists(const std::string& path) const {
  const ImageEntry* entry = entryAt(path);
  return entry && !entry->folder;
}

std::optional<FileId> ImageFiles::holder(const std::string& path) const {
  if (!entryAt(path)) return std::nullopt;
  return image_.id();
}

}  // namespace tessaly
