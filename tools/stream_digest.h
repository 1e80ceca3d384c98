// A byte count and a 64-bit FNV-1a checksum of a byte stream. The checksum is
// taken byte by byte, so it does not depend on how the stream was cut into pieces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaly::tools {

struct StreamDigest {
  std::uint64_t bytes = 0;
  std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a offset basis

  // Adds `size` bytes at `data` to the digest.
  void add(const std::uint8_t* data, std::size_t size);
  // "<bytes> <hash as 16 hex digits>", for golden files and messages.
  std::string text() const;
  bool operator==(const StreamDigest&) const = default;
};

// The digest of a whole file; throws std::runtime_error when it cannot be read.
StreamDigest digestFile(const std::string& path);

}  // namespace tessaly::tools
