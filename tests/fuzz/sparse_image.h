// A disc image as the image fuzz target takes it: only the blocks that are not all zeros,
// each as a record of its block number (two bytes, little-endian), its length (two bytes,
// at most a block) and its first `length` bytes; the image is zeros elsewhere and ends
// after its highest block. A real image's few hundred blocks of descriptors and entries
// make a seed of some KB, and mutations land on them rather than on the zeros between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::fuzzing {

constexpr std::size_t kImageBlock = 2048;
constexpr std::size_t kMaxImageBlocks = 1024;  // records of blocks past this are skipped

// Writes the image that `records` describe into `path`.
void writeSparseImage(const std::string& path, const std::uint8_t* records, std::size_t size);

// The records of `image`: its blocks that hold more than zeros, each cut after its last
// byte that is not zero.
std::vector<std::uint8_t> sparseRecords(const std::vector<std::uint8_t>& image);

}  // namespace tessaly::fuzzing
