#include "tools/access_units.h"

#include <stdexcept>

namespace tessaly::tools {
namespace {

constexpr std::uint8_t kPictureStart = 0x00;
constexpr std::uint8_t kSequenceHeader = 0xB3;
constexpr std::size_t kEac3Header = 4;            // sync word, stream type, substream, frame size
constexpr std::size_t kMlpHeader = 4;             // nibble of check bits, 12-bit length, timing
constexpr std::uint32_t kMajorSync = 0xF8726FBA;  // after an MLP unit's header, at entries

bool startCodeAt(const std::vector<std::uint8_t>& bytes, std::size_t at, std::uint8_t code) {
  return bytes[at] == 0 && bytes[at + 1] == 0 && bytes[at + 2] == 1 && bytes[at + 3] == code;
}

std::uint32_t word(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
         std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// Walks frames whose `size` the caller reads from their header at `at`.
template <typename FrameSize, typename Entry>
Framing frames(const std::vector<std::uint8_t>& bytes, std::size_t header, FrameSize size,
               Entry entry) {
  Framing framing;
  for (std::size_t at = 0; at < bytes.size();) {
    if (bytes.size() - at < header) throw std::invalid_argument("a frame header is cut short");
    const std::size_t length = size(at);
    if (length < header || length > bytes.size() - at) {
      throw std::invalid_argument("a frame runs past the end of the stream");
    }
    framing.units.push_back(at);
    if (entry(at, length)) framing.entries.push_back(at);
    at += length;
  }
  return framing;
}

}  // namespace

Framing mpeg2Framing(const std::vector<std::uint8_t>& video) {
  Framing framing;
  for (std::size_t at = 0; at + 3 < video.size(); ++at) {
    if (startCodeAt(video, at, kPictureStart)) framing.units.push_back(at);
    if (startCodeAt(video, at, kSequenceHeader)) framing.entries.push_back(at);
  }
  return framing;
}

Framing eac3Framing(const std::vector<std::uint8_t>& audio) {
  // After the sync word 0x0B77: stream type (2 bits), substream (3), frame size in
  // 16-bit words less one (11).
  return frames(
      audio, kEac3Header,
      [&](std::size_t at) {
        if (audio[at] != 0x0B || audio[at + 1] != 0x77) {
          throw std::invalid_argument("an E-AC-3 frame lacks its sync word");
        }
        return ((std::size_t{audio[at + 2]} & 0x07) << 8 | audio[at + 3]) * 2 + 2;
      },
      [](std::size_t, std::size_t) { return true; });
}

Framing mlpFraming(const std::vector<std::uint8_t>& audio) {
  // The unit's length in 16-bit words is the low 12 bits of its first two bytes.
  return frames(
      audio, kMlpHeader,
      [&](std::size_t at) { return ((std::size_t{audio[at]} & 0x0F) << 8 | audio[at + 1]) * 2; },
      [&](std::size_t at, std::size_t length) {
        return length >= kMlpHeader + 4 && word(audio, at + kMlpHeader) == kMajorSync;
      });
}

}  // namespace tessaly::tools
