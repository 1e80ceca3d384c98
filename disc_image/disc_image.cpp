#include "disc_image/disc_image.h"

#include <algorithm>
#include <deque>

#include "disc_image/image_path.h"
#include "disc_image/udf_volume.h"

namespace tessaly {
namespace {

// Real discs nest a few levels (AACS/DUPLICATE/...) and hold some hundred files; a folder
// that holds itself, or an ancestor, nests without end and is refused at the depth bound.
constexpr std::size_t kMaxDepth = 16;
constexpr std::size_t kMaxEntries = 16384;
// The reads of the file system's structures allowed to the opening and the walk (a real
// disc's take a few hundred KiB), and to each later open of a file (its entry and
// allocation extents, a few KiB): bounds that end any loop among them within a second.
constexpr std::int64_t kWalkReads = std::int64_t{64} << 20;
constexpr std::int64_t kFileEntryReads = std::int64_t{1} << 20;

bool sameLetters(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

// Every entry below the root, folder by folder in breadth: a loop of folders is refused at
// the depth bound, a wide tree of them at the entry bound, whichever comes first.
std::vector<ImageEntry> walk(UdfVolume& volume, const std::string& image) {
  std::vector<ImageEntry> found;
  std::deque<std::vector<std::string>> folders{{}};
  for (; !folders.empty(); folders.pop_front()) {
    for (VolumeEntry& listed : volume.list(folders.front())) {
      if (found.size() == kMaxEntries) {
        throw imageError(image, "It lists more than " + std::to_string(kMaxEntries) +
                                    " files and folders, more than any disc holds.");
      }
      ImageEntry entry;
      entry.names = folders.front();
      entry.names.push_back(std::move(listed.name));
      entry.path = insidePath(entry.names);
      entry.folder = listed.folder;
      if (entry.folder && entry.names.size() > kMaxDepth) {
        throw imageError(image, "Its folders nest deeper than " + std::to_string(kMaxDepth) +
                                    " levels: a folder may hold itself.");
      }
      if (entry.folder) folders.push_back(entry.names);
      if (!entry.folder)
        entry.size = volume.open(entry.names, imagePath(image, entry.path))->size();
      found.push_back(std::move(entry));
    }
  }
  std::sort(found.begin(), found.end(),
            [](const ImageEntry& a, const ImageEntry& b) { return a.path < b.path; });
  return found;
}

// The first folder at the root named `name` in any case (sorted, an upper-case one first).
std::size_t rootFolder(const std::vector<ImageEntry>& entries, std::string_view name) {
  const auto at = std::find_if(entries.begin(), entries.end(), [&](const ImageEntry& e) {
    return e.folder && e.names.size() == 1 && sameLetters(e.names[0], name);
  });
  return static_cast<std::size_t>(at - entries.begin());
}

}  // namespace

DiscImage::DiscImage(const std::string& path, Access access)
    : image_(std::make_shared<InputFile>(path, access)),
      volume_(openUdfVolume(image_, kWalkReads)),
      entries_(walk(*volume_, path)),
      titleSet_(rootFolder(entries_, "HVDVD_TS")),
      advanced_(rootFolder(entries_, "ADV_OBJ")) {
  if (titleSet_ == entries_.size()) {
    throw imageError(path, "It has no HVDVD_TS folder: it is not an HD DVD.");
  }
}

DiscImage::~DiscImage() = default;

const std::string& DiscImage::path() const {
  return image_->path();
}

const ImageEntry* DiscImage::advancedFolder() const {
  return advanced_ < entries_.size() ? &entries_[advanced_] : nullptr;
}

std::vector<const ImageEntry*> DiscImage::filesIn(const ImageEntry& folder) const {
  std::vector<const ImageEntry*> files;
  for (const ImageEntry& entry : entries_) {
    if (!entry.folder && entry.names.size() == folder.names.size() + 1 &&
        std::equal(folder.names.begin(), folder.names.end(), entry.names.begin())) {
      files.push_back(&entry);
    }
  }
  return files;
}

const ImageEntry* DiscImage::find(std::string_view path) const {
  const auto at = std::find_if(entries_.begin(), entries_.end(),
                               [&](const ImageEntry& e) { return sameLetters(e.path, path); });
  return at == entries_.end() ? nullptr : &*at;
}

ImageFile DiscImage::open(const ImageEntry& file) const {
  const std::string shown = imagePath(image_->path(), file.path);
  volume_->allowStructureReads(kFileEntryReads);
  return {volume_->open(file.names, shown), shown, image_->id()};
}

}  // namespace tessaly
