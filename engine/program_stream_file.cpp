#include "engine/program_stream_file.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/files.h"
#include "platform/paths.h"

namespace tessaly {
namespace {

constexpr std::int64_t kLookedAt = 1024 * 1024;
constexpr std::size_t kPiece = 4096;
constexpr std::array<const char*, 4> kExtensions{".EVO", ".VOB", ".MPG", ".MPEG"};

bool programStreamCode(std::uint8_t code) {
  return code == 0xBA || code == 0xBD || (code >= 0xC0 && code <= 0xEF);
}

}  // namespace

bool programStreamName(const std::string& path) {
  const std::string extension = upperExtension(path);
  return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

// Read in small pieces up to the first start code, so that a stream's file is read little
// further than its first pack here.
bool startsAsProgramStream(const std::string& path) {
  InputFile file(path, Access::Shared);
  std::array<std::uint8_t, kPiece> piece{};
  std::uint32_t last = 0xFFFFFFFF;  // the last four bytes seen
  for (std::int64_t at = 0; at < kLookedAt;) {
    const std::size_t got = file.readAt(at, piece.data(), piece.size());
    if (got == 0) return false;
    for (std::size_t i = 0; i < got; ++i) {
      last = last << 8 | piece[i];
      if ((last >> 8) == 1 && programStreamCode(piece[i])) return true;
    }
    at += static_cast<std::int64_t>(got);
  }
  return false;
}

}  // namespace tessaly
