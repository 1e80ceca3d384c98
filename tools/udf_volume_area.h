// The volume structure of a UDF 2.50 image in front of its partition (ECMA-167 parts 2 and
// 3): the volume recognition sequence, the main and reserve volume descriptor sequences,
// the logical volume's integrity and the anchor at block 256 (repeated at the image's last
// block). Test-only, for tools/udf_image.
#pragma once

#include <cstdint>
#include <string>

#include "tools/udf_descriptors.h"

namespace tessaly::tools::udf {

constexpr std::uint32_t kPartitionStart = 257;  // the partition follows the first anchor
constexpr std::uint16_t kPhysical = 0;          // partition reference of the recorded blocks
constexpr std::uint16_t kMetadata = 1;          // partition reference of the metadata partition
constexpr std::uint32_t kAllocationUnit = 32;   // of the metadata partition, in blocks
// The metadata file and its mirror, partition blocks 0 and 1, before the metadata itself.
constexpr std::uint32_t kMetadataFileEntry = 0;
constexpr std::uint32_t kMirrorFileEntry = 1;

// What the volume descriptors say of the partition and the files.
struct VolumeFacts {
  std::string label;
  std::uint32_t partitionBlocks = 0;
  std::uint32_t metadataBlocks = 0;  // the metadata partition's size
  std::uint64_t nextUniqueId = 0;
  std::uint32_t files = 0;
  std::uint32_t folders = 0;
};

// Blocks 0 to 256 of the image: system area, recognition, descriptor sequences, integrity
// and the first anchor.
Bytes volumeArea(const VolumeFacts& facts);

// The anchor volume descriptor pointer (ECMA-167 3/10.2) as block `block`.
Bytes anchorBlock(std::uint32_t block);

}  // namespace tessaly::tools::udf
