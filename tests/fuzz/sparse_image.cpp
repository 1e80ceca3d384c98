#include "fuzz/sparse_image.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tessaly::fuzzing {

void writeSparseImage(const std::string& path, const std::uint8_t* records, std::size_t size) {
  std::size_t blocks = 0;
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    while (size >= 4) {
      const std::size_t block = records[0] | records[1] << 8;
      const std::size_t length =
          std::min({static_cast<std::size_t>(records[2] | records[3] << 8), kImageBlock, size - 4});
      if (block < kMaxImageBlocks) {
        out.seekp(static_cast<std::streamoff>(block * kImageBlock));
        out.write(reinterpret_cast<const char*>(records + 4), static_cast<std::streamsize>(length));
        blocks = std::max(blocks, block + 1);
      }
      records += 4 + length;
      size -= 4 + length;
    }
  }
  std::filesystem::resize_file(path, blocks * kImageBlock);
}

std::vector<std::uint8_t> sparseRecords(const std::vector<std::uint8_t>& image) {
  std::vector<std::uint8_t> records;
  for (std::size_t block = 0; block * kImageBlock < image.size(); ++block) {
    const auto begin = image.begin() + static_cast<std::ptrdiff_t>(block * kImageBlock);
    const auto end = image.begin() +
                     static_cast<std::ptrdiff_t>(std::min(image.size(), (block + 1) * kImageBlock));
    const auto last =
        std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(begin),
                     [](std::uint8_t byte) { return byte != 0; });
    const auto length = static_cast<std::size_t>(last.base() - begin);
    if (length == 0) continue;
    records.insert(records.end(),
                   {static_cast<std::uint8_t>(block), static_cast<std::uint8_t>(block >> 8),
                    static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8)});
    records.insert(records.end(), begin, begin + static_cast<std::ptrdiff_t>(length));
  }
  // The image's last block, even when all zeros, keeps its size.
  const std::size_t last = (image.size() + kImageBlock - 1) / kImageBlock - 1;
  records.insert(records.end(),
                 {static_cast<std::uint8_t>(last), static_cast<std::uint8_t>(last >> 8), 0, 0});
  return records;
}

}  // namespace tessaly::fuzzing
