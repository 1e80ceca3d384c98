#include "job/subpicture_unit.h"

#include <algorithm>

namespace tessaly {
namespace {

constexpr std::size_t kHdSizeField = 2;  // after the two zero bytes
constexpr std::size_t kHdSizeBytes = 4;
constexpr std::size_t kDvdSizeBytes = 2;

std::uint64_t bigEndian(const std::uint8_t* at, std::size_t bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < bytes; ++i) value = (value << 8) | at[i];
  return value;
}

}  // namespace

void UnitHead::take(const std::uint8_t* data, std::size_t size) {
  const std::size_t taken = std::min(size, kBytes - count);
  std::copy(data, data + taken, bytes.begin() + static_cast<std::ptrdiff_t>(count));
  count += taken;
}

UnitFormat unitFormat(const UnitHead& head) {
  return head.bytes[0] == 0 && head.bytes[1] == 0 ? UnitFormat::Hd : UnitFormat::Dvd;
}

bool sizeFieldAgrees(UnitFormat format, const UnitHead& head, std::uint64_t length) {
  const std::size_t at = format == UnitFormat::Hd ? kHdSizeField : 0;
  const std::size_t bytes = format == UnitFormat::Hd ? kHdSizeBytes : kDvdSizeBytes;
  if (head.count < at + bytes) return false;
  return bigEndian(head.bytes.data() + at, bytes) == length;
}

}  // namespace tessaly
