#include "tools/stream_digest.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace tessaly::tools {

void StreamDigest::add(const std::uint8_t* data, std::size_t size) {
  constexpr std::uint64_t kPrime = 0x100000001b3ull;  // FNV-1a 64-bit prime
  std::uint64_t h = hash;
  for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * kPrime;
  hash = h;
  bytes += size;
}

std::string StreamDigest::text() const {
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::to_string(bytes) + " " + hex;
}

StreamDigest digestFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  StreamDigest digest;
  std::vector<char> block(1 << 20);
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    digest.add(reinterpret_cast<const std::uint8_t*>(block.data()),
               static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return digest;
}

}  // namespace tessaly::tools
