#include "tools/udf_descriptors.h"

#include <stdexcept>

namespace tessaly::tools::udf {
namespace {

constexpr std::uint8_t kCompressed8 = 8;  // compression id of 8-bit characters (UDF 2.1.1)
constexpr std::uint16_t kTagVersion = 3;  // descriptors of an NSR03 volume (ECMA-167 3/7.2.2)

// CRC-ITU-T, x^16 + x^12 + x^5 + 1 from zero (ECMA-167 1/7.2.6).
std::uint16_t crc(const std::uint8_t* data, std::size_t size) {
  std::uint16_t value = 0;
  for (std::size_t i = 0; i < size; ++i) {
    value ^= static_cast<std::uint16_t>(data[i] << 8);
    for (int bit = 0; bit < 8; ++bit) {
      value = (value & 0x8000) ? static_cast<std::uint16_t>((value << 1) ^ 0x1021)
                               : static_cast<std::uint16_t>(value << 1);
    }
  }
  return value;
}

}  // namespace

void Bytes::u16(std::size_t at, std::uint16_t value) {
  u8(at, static_cast<std::uint8_t>(value));
  u8(at + 1, static_cast<std::uint8_t>(value >> 8));
}

void Bytes::u32(std::size_t at, std::uint32_t value) {
  u16(at, static_cast<std::uint16_t>(value));
  u16(at + 2, static_cast<std::uint16_t>(value >> 16));
}

void Bytes::u64(std::size_t at, std::uint64_t value) {
  u32(at, static_cast<std::uint32_t>(value));
  u32(at + 4, static_cast<std::uint32_t>(value >> 32));
}

void Bytes::text(std::size_t at, const std::string& value) {
  for (std::size_t i = 0; i < value.size(); ++i) u8(at + i, static_cast<std::uint8_t>(value[i]));
}

void Bytes::dstring(std::size_t at, std::size_t field, const std::string& value) {
  if (value.empty()) return;  // an empty d-string is all zeros
  if (value.size() + 2 > field) throw std::runtime_error("UDF text too long: " + value);
  u8(at, kCompressed8);
  text(at + 1, value);
  u8(at + field - 1, static_cast<std::uint8_t>(value.size() + 1));
}

void Bytes::charset(std::size_t at) {
  u8(at, 0);  // CS0
  text(at + 1, "OSTA Compressed Unicode");
}

void Bytes::entity(std::size_t at, const std::string& identifier, bool revisionSuffix) {
  text(at + 1, identifier);
  if (revisionSuffix) u16(at + 24, kRevision);
}

void Bytes::timestamp(std::size_t at) {
  u16(at, 0x1000);  // local time, zone offset 0
  u16(at + 2, 2007);
  u8(at + 4, 11);
  u8(at + 5, 20);
  u8(at + 6, 12);
}

void Bytes::longAd(std::size_t at, std::uint32_t length, std::uint32_t block,
                   std::uint16_t partition, std::uint32_t uniqueId) {
  u32(at, length);
  u32(at + 4, block);
  u16(at + 8, partition);
  u32(at + 12, uniqueId);  // UDF 2.3.10.1: flags, then the entry's unique id
}

void Bytes::tag(std::size_t at, Tag id, std::uint32_t location, std::size_t length) {
  u16(at, static_cast<std::uint16_t>(id));
  u16(at + 2, kTagVersion);
  u16(at + 6, 1);  // serial number
  const std::size_t covered = length - 16;
  u16(at + 8, crc(data() + at + 16, covered));
  u16(at + 10, static_cast<std::uint16_t>(covered));
  u32(at + 12, location);
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < 16; ++i) {
    if (i != 4) sum = static_cast<std::uint8_t>(sum + bytes_[at + i]);
  }
  u8(at + 4, sum);
}

}  // namespace tessaly::tools::udf
