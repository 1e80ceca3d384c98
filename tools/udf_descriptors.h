// The building blocks of UDF descriptors (ECMA-167 3rd edition as UDF 2.50 restricts it):
// little-endian fields in 2048-byte blocks, the descriptor tag with its checksum and CRC,
// d-strings, character sets, entity identifiers, time stamps and allocation descriptors.
// Test-only, for the image writer of tools/udf_image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::tools::udf {

constexpr std::size_t kBlock = 2048;
constexpr std::uint16_t kRevision = 0x0250;  // UDF 2.50, as HD DVDs record it

// Tag identifiers (ECMA-167 3/7.2.1, 4/7.2.1).
enum class Tag : std::uint16_t {
  PrimaryVolume = 1,
  Anchor = 2,
  VolumePointer = 3,
  ImplementationUse = 4,
  Partition = 5,
  LogicalVolume = 6,
  UnallocatedSpace = 7,
  Terminating = 8,
  Integrity = 9,
  FileSet = 256,
  FileIdentifier = 257,
  ExtendedFileEntry = 266,
};

// Bytes to fill, addressed by offset: one block, or a run of them.
class Bytes {
 public:
  explicit Bytes(std::size_t size = kBlock) : bytes_(size) {}

  void u8(std::size_t at, std::uint8_t value) { bytes_.at(at) = value; }
  void u16(std::size_t at, std::uint16_t value);
  void u32(std::size_t at, std::uint32_t value);
  void u64(std::size_t at, std::uint64_t value);
  void text(std::size_t at, const std::string& value);
  // A d-string field of `field` bytes in compressed unicode with 8-bit characters (ECMA-167
  // 1/7.2.12, UDF 2.1.3): the compression id, the characters, the length in its last byte.
  void dstring(std::size_t at, std::size_t field, const std::string& value);
  // The OSTA CS0 character set (UDF 2.1.2), 64 bytes.
  void charset(std::size_t at);
  // An entity identifier (ECMA-167 1/7.4), 32 bytes; UDF identifiers carry the revision
  // at the start of their suffix (UDF 2.1.5.3).
  void entity(std::size_t at, const std::string& identifier, bool revisionSuffix);
  // A time stamp (ECMA-167 1/7.3), 12 bytes: the fixed recording time of every image, so
  // that a folder always gives the same bytes.
  void timestamp(std::size_t at);
  // A long allocation descriptor (ECMA-167 4/14.14.2), 16 bytes.
  void longAd(std::size_t at, std::uint32_t length, std::uint32_t block, std::uint16_t partition,
              std::uint32_t uniqueId = 0);
  // The descriptor tag (ECMA-167 3/7.2) of the descriptor at `at`, `length` bytes long in
  // all, recorded at logical block `location`; its CRC covers the bytes after the tag.
  void tag(std::size_t at, Tag id, std::uint32_t location, std::size_t length);

  std::uint8_t* data() { return bytes_.data(); }
  std::size_t size() const { return bytes_.size(); }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace tessaly::tools::udf
