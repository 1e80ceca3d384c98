#include "disc/title_parts.h"

#include <cinttypes>
#include <cstdio>
#include <vector>

#include "platform/error.h"

namespace tessaly {
namespace {

constexpr std::size_t kCopyChunk = 1 << 20;
constexpr std::size_t kPgsHeader = 13;  // "PG", PTS, DTS, type, length
constexpr std::int64_t kTicksPerMs = 90;

std::uint64_t copyPart(OutputFile& output, InputFile& input) {
  std::uint64_t written = 0;
  for (auto bytes = input.next(kCopyChunk); !bytes.empty(); bytes = input.next(kCopyChunk)) {
    output.write(bytes.data(), bytes.size());
    written += bytes.size();
  }
  return written;
}

std::uint32_t bigEndian32(const std::uint8_t* at) {
  return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 |
         at[3];
}

void putBigEndian32(std::uint8_t* at, std::uint32_t value) {
  for (int n = 0; n < 4; ++n) at[n] = static_cast<std::uint8_t>(value >> (24 - 8 * n));
}

// Moves every segment's PTS (its DTS is zero) by the offset, in the format's 32 bits.
std::uint64_t shiftPgs(OutputFile& output, InputFile& input, std::int64_t offsetMs) {
  std::vector<std::uint8_t> pending;
  std::uint64_t written = 0;
  for (auto bytes = input.next(kCopyChunk); !bytes.empty(); bytes = input.next(kCopyChunk)) {
    pending.insert(pending.end(), bytes.begin(), bytes.end());
    std::size_t at = 0;
    while (pending.size() - at >= kPgsHeader) {
      std::uint8_t* segment = pending.data() + at;
      if (segment[0] != 'P' || segment[1] != 'G') throw Error(input.path() + " is no PGS file");
      const std::size_t size = kPgsHeader + (std::size_t{segment[11]} << 8 | segment[12]);
      if (pending.size() - at < size) break;
      putBigEndian32(segment + 2,
                     static_cast<std::uint32_t>(bigEndian32(segment + 2) + offsetMs * kTicksPerMs));
      at += size;
    }
    output.write(pending.data(), at);
    written += at;
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(at));
  }
  if (!pending.empty()) throw Error(input.path() + " is no PGS file");
  return written;
}

std::string textOf(InputFile& input) {
  std::string text;
  for (auto bytes = input.next(kCopyChunk); !bytes.empty(); bytes = input.next(kCopyChunk)) {
    text.append(bytes.begin(), bytes.end());
  }
  return text;
}

// "timestamp: HH:MM:SS:mmm, filepos: HEX" moved by the place; other lines as they are.
std::string placedIndexLine(const std::string& line, const PartPlace& place) {
  long long h = 0, m = 0, s = 0, ms = 0;
  unsigned long long position = 0;
  if (std::sscanf(line.c_str(), "timestamp: %lld:%lld:%lld:%lld, filepos: %llx", &h, &m, &s, &ms,
                  &position) != 5) {
    return line;
  }
  const long long time = ((h * 60 + m) * 60 + s) * 1000 + ms + place.offsetMs;
  char text[96];
  std::snprintf(text, sizeof text, "timestamp: %02lld:%02lld:%02lld:%03lld, filepos: %09llx\n",
                time / 3600000, time / 60000 % 60, time / 1000 % 60, time % 1000,
                position + place.streamBytes);
  return text;
}

std::uint64_t placeIndex(OutputFile& output, InputFile& input, const PartPlace& place) {
  const std::string text = textOf(input);
  std::string placed;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
    const std::string line = text.substr(at, end - at);
    if (place.first || line.starts_with("timestamp: ")) placed += placedIndexLine(line, place);
    at = end;
  }
  output.write(reinterpret_cast<const std::uint8_t*>(placed.data()), placed.size());
  return placed.size();
}

}  // namespace

std::uint64_t appendPart(OutputFile& output, const std::string& path, FileForm form,
                         const PartPlace& place) {
  InputFile input(path, Access::Shared);
  switch (form) {
    case FileForm::Pgs:
      return shiftPgs(output, input, place.offsetMs);
    case FileForm::VobSubIndex:
      return placeIndex(output, input, place);
    default:
      return copyPart(output, input);
  }
}

void placeAudioParts(std::vector<AudioPart>& title, const std::vector<AudioPart>& clip,
                     std::uint64_t bytesBefore) {
  if (clip.empty() || (bytesBefore > 0 && title.empty())) {
    title.clear();
    return;
  }
  for (AudioPart part : clip) {
    part.begin += bytesBefore;
    part.end += bytesBefore;
    title.push_back(part);
  }
}

}  // namespace tessaly
