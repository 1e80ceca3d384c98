#include "fuzz/fuzz_session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "support/temp_dir.h"

namespace tessaly::fuzzing {

// Every run rewrites the same few files: on a disk file system truncating a file that
// holds data may wait for the disk, so memory (/dev/shm) is preferred where it exists.
const std::string& scratch() {
  static const testing::TempDir folder = [] {
    if (std::filesystem::is_directory("/dev/shm")) ::setenv("TMPDIR", "/dev/shm", 0);
    return testing::TempDir();
  }();
  return folder.path();
}

void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
  testing::writeFile(path, std::vector<std::uint8_t>(data, data + size));
}

std::string takeTail(const std::uint8_t* data, std::size_t& size, std::size_t limit) {
  if (size == 0) return {};
  const std::size_t length = std::min<std::size_t>(data[--size] % (limit + 1), size);
  size -= length;
  return std::string(data + size, data + size + length);
}

}  // namespace tessaly::fuzzing
