#include "bench/feature_mix.h"

#include <algorithm>
#include <span>
#include <stdexcept>

namespace tessaly::bench {
namespace {

constexpr double kTicksPerSecond = 90000;
constexpr std::int64_t kDecoderDelay = 18000;  // time stamps run 0.2 s ahead of the SCR
constexpr int kPacksPerNav = 900;              // ~0.5 s of packs between navigation packs

// Where one stream stands: the bytes of the current repetition already written.
struct Cursor {
  const Elementary* stream;
  std::size_t offset = 0;
  std::uint64_t repetition = 0;
  double credit = 0;
};

// Weighted round robin: the stream furthest behind its byte share writes the next pack,
// so every stream's time runs alongside the file's.
Cursor& nextStream(std::vector<Cursor>& cursors) {
  double total = 0;
  Cursor* pick = &cursors.front();
  for (Cursor& c : cursors) {
    c.credit += static_cast<double>(c.stream->bytes.size());
    total += static_cast<double>(c.stream->bytes.size());
    if (c.credit > pick->credit) pick = &c;
  }
  pick->credit -= total;
  return *pick;
}

// The playing time of a stream's next byte, in 90 kHz ticks.
std::int64_t timeOf(const Cursor& c, double seconds) {
  const double position =
      static_cast<double>(c.repetition) +
      static_cast<double>(c.offset) / static_cast<double>(c.stream->bytes.size());
  return static_cast<std::int64_t>(position * seconds * kTicksPerSecond);
}

// The time stamp of a pack of the stream at its cursor holding `size` bytes: its first
// byte's time, or for video the time of the first picture starting in it (-1: none).
std::int64_t stampOf(const Cursor& c, std::size_t size, double seconds) {
  const std::vector<std::size_t>& pictures = c.stream->pictures;
  if (pictures.empty()) return timeOf(c, seconds) + kDecoderDelay;
  const auto first = std::lower_bound(pictures.begin(), pictures.end(), c.offset);
  if (first == pictures.end() || *first >= c.offset + size) return -1;
  const double position =
      static_cast<double>(c.repetition) +
      static_cast<double>(first - pictures.begin()) / static_cast<double>(pictures.size());
  return static_cast<std::int64_t>(position * seconds * kTicksPerSecond) + kDecoderDelay;
}

// One pack of the stream at its cursor. The last pack of a repetition is short, so each
// repetition starts a packet of its own.
void writePack(tools::PsWriter& writer, Cursor& c, double seconds) {
  const std::vector<std::uint8_t>& bytes = c.stream->bytes;
  const std::size_t room = tools::PsWriter::packCapacity(c.stream->stream);
  const std::size_t size = std::min(bytes.size() - c.offset, room - room % c.stream->unit);
  const std::int64_t stamp = stampOf(c, size, seconds);
  // A packet without a time stamp is stuffed instead, so it holds what the room allowed.
  const auto stuffing = static_cast<std::uint8_t>(stamp >= 0 ? 0 : 5);
  const tools::PesFields fields{.pts = stamp >= 0, .stuffing = stuffing, .time = stamp};
  c.offset += writer.pack(c.stream->stream, std::span(bytes).subspan(c.offset, size), fields);
  if (c.offset == bytes.size()) {
    c.offset = 0;
    ++c.repetition;
  }
}

}  // namespace

std::vector<std::size_t> pictureStarts(const std::vector<std::uint8_t>& video) {
  std::vector<std::size_t> starts;
  for (std::size_t at = 0; at + 3 < video.size(); ++at) {
    if (video[at] == 0 && video[at + 1] == 0 && video[at + 2] == 1 && video[at + 3] == 0) {
      starts.push_back(at);
    }
  }
  return starts;
}

void writeFeature(tools::PsWriter& writer, std::uint64_t bytes, double seconds,
                  const std::vector<Elementary>& streams) {
  std::vector<Cursor> cursors;
  for (const Elementary& e : streams) {
    if (e.bytes.empty()) throw std::invalid_argument("an elementary stream is empty");
    cursors.push_back({&e});
  }
  for (std::uint64_t packs = 0; writer.size() < bytes; ++packs) {
    // The system clock follows the stream that is furthest behind.
    std::int64_t clock = timeOf(cursors.front(), seconds);
    for (const Cursor& c : cursors) clock = std::min(clock, timeOf(c, seconds));
    writer.setClock(static_cast<std::uint64_t>(clock));
    if (packs % kPacksPerNav == 0) {
      writer.navPack();
    } else {
      writePack(writer, nextStream(cursors), seconds);
    }
  }
}

}  // namespace tessaly::bench
