// Reads the fields of a header bit by bit, most significant bit first, as the audio and
// video codings lay them out. Reading past the end gives zero bits and marks the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tessaly {

class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  // The next `count` bits (at most 32) as an unsigned number.
  std::uint32_t read(int count) {
    std::uint32_t value = 0;
    for (int n = 0; n < count; ++n) value = (value << 1) | bit();
    return value;
  }
  bool flag() { return bit() != 0; }
  void skip(std::size_t count) { at_ += count; }
  // Bits read (or skipped) so far.
  std::size_t position() const { return at_; }
  // True once a read went past the last byte.
  bool overrun() const { return at_ > bytes_.size() * 8; }

 private:
  std::uint32_t bit() {
    const std::size_t byte = at_ / 8;
    const int shift = 7 - static_cast<int>(at_ % 8);
    ++at_;
    return byte < bytes_.size() ? (bytes_[byte] >> shift) & 1u : 0u;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace tessaly
