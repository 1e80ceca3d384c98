#include "tools/udf_volume_area.h"

namespace tessaly::tools::udf {
namespace {

constexpr std::uint32_t kMainSequence = 32;
constexpr std::uint32_t kReserveSequence = 48;
constexpr std::uint32_t kSequenceLength = 16 * kBlock;
constexpr std::uint32_t kIntegrity = 64;  // the integrity descriptor, then a terminator
constexpr std::uint32_t kAnchor = 256;
constexpr std::size_t kVolumeDescriptor = 512;
constexpr const char* kImplementation = "*Tessaly test image";
constexpr const char* kDomain = "*OSTA UDF Compliant";

void recognition(Bytes& area) {
  std::uint32_t block = 16;
  for (const char* id : {"BEA01", "NSR03", "TEA01"}) {  // ECMA-167 2/9.1: type 0, version 1
    const std::size_t at = block++ * kBlock;
    area.text(at + 1, id);
    area.u8(at + 6, 1);
  }
}

void primaryVolume(Bytes& area, std::uint32_t block, const VolumeFacts& facts) {
  const std::size_t at = block * kBlock;
  area.dstring(at + 24, 32, facts.label);
  area.u16(at + 56, 1);  // volume 1 of 1
  area.u16(at + 58, 1);
  area.u16(at + 60, 2);  // interchange level of a single volume
  area.u16(at + 62, 2);
  area.u32(at + 64, 1);  // CS0 only
  area.u32(at + 68, 1);
  // UDF 2.2.2.5: the set identifier starts with 16 characters unique to the volume.
  area.dstring(at + 72, 128, "00000000DEADBEEF" + facts.label);
  area.charset(at + 200);
  area.charset(at + 264);
  area.entity(at + 344, kImplementation, false);
  area.timestamp(at + 376);
  area.entity(at + 388, kImplementation, false);
  area.tag(at, Tag::PrimaryVolume, block, kVolumeDescriptor);
}

void logicalVolumeInfo(Bytes& area, std::uint32_t block, const VolumeFacts& facts) {
  const std::size_t at = block * kBlock;
  area.u32(at + 16, 1);
  area.entity(at + 20, "*UDF LV Info", true);
  area.charset(at + 52);
  area.dstring(at + 116, 128, facts.label);
  area.entity(at + 352, kImplementation, false);
  area.tag(at, Tag::ImplementationUse, block, kVolumeDescriptor);
}

void partition(Bytes& area, std::uint32_t block, const VolumeFacts& facts) {
  const std::size_t at = block * kBlock;
  area.u32(at + 16, 2);
  area.u16(at + 20, 1);  // allocated
  area.u16(at + 22, kPhysical);
  area.entity(at + 24, "+NSR03", false);
  area.u32(at + 184, 1);  // read-only, as pressed
  area.u32(at + 188, kPartitionStart);
  area.u32(at + 192, facts.partitionBlocks);
  area.entity(at + 196, kImplementation, false);
  area.tag(at, Tag::Partition, block, kVolumeDescriptor);
}

// The type 2 map of the metadata partition (UDF 2.2.10), 64 bytes.
void metadataMap(Bytes& area, std::size_t at) {
  area.u8(at, 2);
  area.u8(at + 1, 64);
  area.entity(at + 4, "*UDF Metadata Partition", true);
  area.u16(at + 36, 1);  // volume sequence number
  area.u16(at + 38, kPhysical);
  area.u32(at + 40, kMetadataFileEntry);
  area.u32(at + 44, kMirrorFileEntry);
  area.u32(at + 48, 0xFFFFFFFF);  // no bitmap on read-only media
  area.u32(at + 52, kAllocationUnit);
  area.u16(at + 56, 16);  // alignment: an ECC block of the disc
  area.u8(at + 58, 1);    // the mirror is a copy of its own
}

void logicalVolume(Bytes& area, std::uint32_t block, const VolumeFacts& facts) {
  const std::size_t at = block * kBlock;
  area.u32(at + 16, 3);
  area.charset(at + 20);
  area.dstring(at + 84, 128, facts.label);
  area.u32(at + 212, kBlock);
  area.entity(at + 216, kDomain, true);
  area.longAd(at + 248, 2 * kBlock, 0, kMetadata);  // the file set and its terminator
  area.u32(at + 264, 6 + 64);
  area.u32(at + 268, 2);
  area.entity(at + 272, kImplementation, false);
  area.u32(at + 432, 2 * kBlock);
  area.u32(at + 436, kIntegrity);
  area.u8(at + 440, 1);  // type 1 map of the physical partition
  area.u8(at + 441, 6);
  area.u16(at + 442, 1);
  area.u16(at + 444, kPhysical);
  metadataMap(area, at + 446);
  area.tag(at, Tag::LogicalVolume, block, 446 + 64);
}

void sequence(Bytes& area, std::uint32_t start, const VolumeFacts& facts) {
  primaryVolume(area, start, facts);
  logicalVolumeInfo(area, start + 1, facts);
  partition(area, start + 2, facts);
  logicalVolume(area, start + 3, facts);
  area.u32((start + 4) * kBlock + 16, 4);  // no unallocated space
  area.tag((start + 4) * kBlock, Tag::UnallocatedSpace, start + 4, 24);
  area.tag((start + 5) * kBlock, Tag::Terminating, start + 5, kVolumeDescriptor);
}

// ECMA-167 3/10.10 with UDF 2.2.6's implementation use: closed, both partitions' sizes,
// the counts and the revisions a reader needs.
void integrity(Bytes& area, const VolumeFacts& facts) {
  const std::size_t at = kIntegrity * kBlock;
  area.timestamp(at + 16);
  area.u32(at + 28, 1);  // closed
  area.u64(at + 40, facts.nextUniqueId);
  area.u32(at + 72, 2);
  area.u32(at + 76, 46);
  area.u32(at + 88, facts.partitionBlocks);  // after the free space table of two zeros
  area.u32(at + 92, facts.metadataBlocks);
  area.entity(at + 96, kImplementation, false);
  area.u32(at + 128, facts.files);
  area.u32(at + 132, facts.folders);
  for (const std::size_t revision : {136, 138, 140}) area.u16(at + revision, kRevision);
  area.tag(at, Tag::Integrity, kIntegrity, 142);
  area.tag(at + kBlock, Tag::Terminating, kIntegrity + 1, kVolumeDescriptor);
}

void anchor(Bytes& bytes, std::size_t at, std::uint32_t block) {
  bytes.u32(at + 16, kSequenceLength);
  bytes.u32(at + 20, kMainSequence);
  bytes.u32(at + 24, kSequenceLength);
  bytes.u32(at + 28, kReserveSequence);
  bytes.tag(at, Tag::Anchor, block, kVolumeDescriptor);
}

}  // namespace

Bytes volumeArea(const VolumeFacts& facts) {
  Bytes area((kAnchor + 1) * kBlock);
  recognition(area);
  sequence(area, kMainSequence, facts);
  sequence(area, kReserveSequence, facts);
  integrity(area, facts);
  anchor(area, kAnchor * kBlock, kAnchor);
  return area;
}

Bytes anchorBlock(std::uint32_t block) {
  Bytes bytes;
  anchor(bytes, 0, block);
  return bytes;
}

}  // namespace tessaly::tools::udf
