#include "tools/feature_mix.h"

#include <algorithm>
#include <span>
#include <stdexcept>

namespace tessaly::tools {
namespace {

constexpr double kTicksPerSecond = 90000;
constexpr std::int64_t kDecoderDelay = 18000;  // time stamps run 0.2 s ahead of the SCR
constexpr int kPacksPerNav = 900;              // ~0.5 s of packs between navigation packs

std::int64_t ticks(double seconds) {
  return static_cast<std::int64_t>(seconds * kTicksPerSecond + 0.5);
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

FeatureMix::FeatureMix(std::vector<Elementary> streams, double seconds)
    : streams_(std::move(streams)), seconds_(seconds) {
  for (const Elementary& e : streams_) {
    if (e.bytes.empty()) throw std::invalid_argument("an elementary stream is empty");
    cursors_.push_back({&e});
  }
}

// The playing time of a stream's next byte, in 90 kHz ticks.
std::int64_t FeatureMix::timeOf(const Cursor& c) const {
  const double position =
      static_cast<double>(c.repetition) +
      static_cast<double>(c.offset) / static_cast<double>(c.stream->bytes.size());
  return ticks(c.stream->start + position * seconds_);
}

// The time stamp of a pack of the stream at its cursor holding `size` bytes: its first
// byte's time, or for video the time of the first picture starting in it (-1: none).
std::int64_t FeatureMix::stampOf(const Cursor& c, std::size_t size) const {
  const std::vector<std::size_t>& pictures = c.stream->pictures;
  if (pictures.empty()) return timeOf(c) + kDecoderDelay;
  const auto first = std::lower_bound(pictures.begin(), pictures.end(), c.offset);
  if (first == pictures.end() || *first >= c.offset + size) return -1;
  const double position =
      static_cast<double>(c.repetition) +
      static_cast<double>(first - pictures.begin()) / static_cast<double>(pictures.size());
  return ticks(c.stream->start + position * seconds_) + kDecoderDelay;
}

// The stream whose next byte plays first writes the next pack, as a multiplexer
// interleaves by time; a stream that starts later waits for its time.
FeatureMix::Cursor& FeatureMix::nextStream() {
  return *std::min_element(
      cursors_.begin(), cursors_.end(),
      [this](const Cursor& a, const Cursor& b) { return timeOf(a) < timeOf(b); });
}

// One pack of the stream at its cursor. The last pack of a repetition is short, so each
// repetition starts a packet of its own.
std::int64_t FeatureMix::writePack(PsWriter& writer, Cursor& c) {
  const std::vector<std::uint8_t>& bytes = c.stream->bytes;
  const std::size_t room = PsWriter::packCapacity(c.stream->stream);
  const std::size_t size = std::min(bytes.size() - c.offset, room - room % c.stream->unit);
  const std::int64_t stamp = stampOf(c, size);
  // A packet without a time stamp is stuffed instead, so it holds what the room allowed.
  const auto stuffing = static_cast<std::uint8_t>(stamp >= 0 ? 0 : 5);
  const PesFields fields{.pts = stamp >= 0, .stuffing = stuffing, .time = stamp};
  c.offset += writer.pack(c.stream->stream, std::span(bytes).subspan(c.offset, size), fields);
  if (c.offset == bytes.size()) {
    c.offset = 0;
    ++c.repetition;
  }
  return stamp;
}

void FeatureMix::write(PsWriter& writer, std::uint64_t bytes, const AfterPack& afterPack) {
  for (std::uint64_t packs = 0; writer.size() < bytes; ++packs) {
    Cursor& next = nextStream();
    // The system clock follows the stream whose turn it is: the one furthest behind.
    writer.setClock(static_cast<std::uint64_t>(timeOf(next)));
    if (packs % kPacksPerNav == 0) {
      writer.navPack();
    } else {
      const std::int64_t stamp = writePack(writer, next);
      if (afterPack) afterPack(writer, next.stream->stream, stamp);
    }
  }
}

double FeatureMix::seconds() const {
  std::int64_t behind = timeOf(cursors_.front());
  for (const Cursor& c : cursors_) behind = std::min(behind, timeOf(c));
  return static_cast<double>(behind) / kTicksPerSecond;
}

}  // namespace tessaly::tools
