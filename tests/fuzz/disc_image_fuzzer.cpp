// The disc image reader over hostile images, given as sparse records (fuzz/sparse_image.h).
// Whatever the bytes, the reader refuses with an Error or opens the image; an open image
// has its entries sorted, no folder deeper than the bound, its HVDVD_TS folder at the root,
// and every file gives exactly its size in the engine's chunks or fails with "Stream read
// error". Many files may name the same extent: the target reads 4 MiB in all.
#include <algorithm>
#include <string>

#include "disc_image/disc_image.h"
#include "fuzz/fuzz_session.h"
#include "fuzz/sparse_image.h"
#include "platform/error.h"

namespace tessaly {
namespace {

using fuzzing::require;

constexpr std::size_t kChunk = 32 * 1024;
constexpr std::size_t kDepth = 16;

void readBack(const DiscImage& image, const ImageEntry& entry, std::int64_t& budget) {
  try {
    ImageFile file = image.open(entry);
    require(file.size() == entry.size, "a file opens with another size than listed");
    while (budget > 0) {
      const auto chunk = file.next(kChunk);
      if (chunk.empty()) break;
      require(chunk.size() <= kChunk, "a chunk is larger than asked for");
      budget -= static_cast<std::int64_t>(chunk.size());
    }
    require(budget <= 0 || file.position() == file.size(), "a file ends before its size");
  } catch (const Error&) {
    // a failed read, or the read budget of the file system spent by the walk
  }
}

void check(const DiscImage& image) {
  const auto& entries = image.entries();
  require(std::is_sorted(entries.begin(), entries.end(),
                         [](const ImageEntry& a, const ImageEntry& b) { return a.path < b.path; }),
          "the entries are not sorted by path");
  const ImageEntry& titleSet = image.titleSetFolder();
  require(titleSet.folder && titleSet.names.size() == 1, "HVDVD_TS is not a folder at the root");
  std::int64_t budget = 4 << 20;
  for (const ImageEntry& entry : entries) {
    require(entry.names.size() <= kDepth + (entry.folder ? 0 : 1), "an entry lies too deep");
    require(entry.size >= 0, "an entry has a negative size");
    if (!entry.folder) readBack(image, entry, budget);
  }
}

}  // namespace
}  // namespace tessaly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessaly;
  const std::string path = fuzzing::scratch() + "image.iso";
  fuzzing::writeSparseImage(path, data, size);
  try {
    const DiscImage image(path);
    check(image);
  } catch (const Error&) {
    // refused, with the reason
  }
  return 0;
}
