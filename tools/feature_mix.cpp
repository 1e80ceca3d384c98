#include "tools/feature_mix.h"

#include <algorithm>
#include <iterator>
#include <span>
#include <stdexcept>

namespace tessaly::tools {
namespace {

constexpr double kTicksPerSecond = 90000;
constexpr std::int64_t kDecoderDelay = 18000;  // time stamps run 0.2 s ahead of the SCR
constexpr int kPacksPerNav = 900;              // ~0.5 s of packs between navigation packs
constexpr double kSameTime = 1e-6;             // seconds: rounding between two clocks
const std::vector<std::size_t> kRepetitionStart{0};

std::int64_t ticks(double seconds) {
  return static_cast<std::int64_t>(seconds * kTicksPerSecond + 0.5);
}

// The playing time, in seconds, of the point `fraction` of the way through a repetition.
double playing(const Elementary& e, std::uint64_t repetition, double fraction) {
  return e.start + (static_cast<double>(repetition) + fraction) * e.seconds;
}

// The playing time of the first unit at `offset` or after it (of the byte, without units).
double unitTime(const Elementary& e, std::uint64_t repetition, std::size_t offset) {
  const std::vector<std::size_t>& units = e.framing.units;
  if (units.empty()) {
    return playing(e, repetition,
                   static_cast<double>(offset) / static_cast<double>(e.bytes.size()));
  }
  const auto index = std::lower_bound(units.begin(), units.end(), offset) - units.begin();
  const std::vector<double>& times = e.framing.times;
  if (times.empty() || index == std::ssize(units)) {
    return playing(e, repetition, static_cast<double>(index) / static_cast<double>(units.size()));
  }
  return playing(e, repetition, times[static_cast<std::size_t>(index)] / e.seconds);
}

// Where a segment may end in the stream.
const std::vector<std::size_t>& stops(const Elementary& e) {
  if (!e.framing.entries.empty()) return e.framing.entries;
  return e.framing.units.empty() ? kRepetitionStart : e.framing.units;
}

}  // namespace

FeatureMix::FeatureMix(std::vector<Elementary> streams) : streams_(std::move(streams)) {
  for (const Elementary& e : streams_) {
    if (e.bytes.empty()) throw std::invalid_argument("an elementary stream is empty");
    if (e.seconds <= 0) throw std::invalid_argument("an elementary stream has no playing time");
    cursors_.push_back({&e});
  }
}

// The playing time of a stream's next byte, in 90 kHz ticks.
std::int64_t FeatureMix::timeOf(const Cursor& c) const {
  const double fraction =
      static_cast<double>(c.offset) / static_cast<double>(c.stream->bytes.size());
  return ticks(playing(*c.stream, c.repetition, fraction));
}

// The time stamp of a pack of the stream at its cursor holding `size` bytes: its first
// byte's time, or the time of the first unit starting in it (-1: none).
std::int64_t FeatureMix::stampOf(const Cursor& c, std::size_t size) const {
  const std::vector<std::size_t>& units = c.stream->framing.units;
  if (!units.empty()) {
    const auto first = std::lower_bound(units.begin(), units.end(), c.offset);
    if (first == units.end() || *first >= c.offset + size) return -1;
  }
  return ticks(unitTime(*c.stream, c.repetition, c.offset)) + kDecoderDelay;
}

// Where the stream at its cursor stops for a segment that ends at `seconds`: at its first
// stop from the cursor on that plays then or later; at the end of the repetition (to go
// on in the next one) when none in this one does.
std::size_t FeatureMix::stopOffset(const Cursor& c, double seconds) const {
  const std::vector<std::size_t>& at = stops(*c.stream);
  for (auto stop = std::lower_bound(at.begin(), at.end(), c.offset); stop != at.end(); ++stop) {
    if (unitTime(*c.stream, c.repetition, *stop) >= seconds - kSameTime) return *stop;
  }
  return c.stream->bytes.size();
}

// One pack of the stream at its cursor, ending at `end` at the latest. The last pack of a
// repetition is short, so each repetition starts a packet of its own.
std::int64_t FeatureMix::writePack(PsWriter& writer, Cursor& c, std::size_t end) {
  const std::vector<std::uint8_t>& bytes = c.stream->bytes;
  const std::size_t room = PsWriter::packCapacity(c.stream->stream);
  const std::size_t size = std::min(end - c.offset, room - room % c.stream->payloadMultiple);
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

// The turn of the stream at `c`: the system clock follows it, the one furthest behind.
void FeatureMix::turn(PsWriter& writer, Cursor& c, std::size_t end, std::uint64_t packs,
                      const AfterPack& afterPack) {
  writer.setClock(static_cast<std::uint64_t>(timeOf(c)));
  if (packs % kPacksPerNav == 0) return writer.navPack();
  const std::int64_t stamp = writePack(writer, c, end);
  if (afterPack) afterPack(writer, c.stream->stream, stamp);
}

// The stream whose next byte plays first writes the next pack, as a multiplexer
// interleaves by time; a stream that starts later waits for its time.
void FeatureMix::write(PsWriter& writer, std::uint64_t bytes, const AfterPack& afterPack) {
  for (std::uint64_t packs = 0; writer.size() < bytes; ++packs) {
    Cursor& next = *std::min_element(
        cursors_.begin(), cursors_.end(),
        [this](const Cursor& a, const Cursor& b) { return timeOf(a) < timeOf(b); });
    turn(writer, next, next.stream->bytes.size(), packs, afterPack);
  }
}

// As write(), among the streams that have not reached their stop.
void FeatureMix::writeUntil(PsWriter& writer, double seconds, const AfterPack& afterPack) {
  for (std::uint64_t packs = 0;; ++packs) {
    Cursor* next = nullptr;
    std::size_t end = 0;
    for (Cursor& c : cursors_) {
      const std::size_t stop = stopOffset(c, seconds);
      if (stop == c.offset || (next && timeOf(*next) <= timeOf(c))) continue;
      next = &c;
      end = stop;
    }
    if (!next) return;
    turn(writer, *next, end, packs, afterPack);
  }
}

double FeatureMix::seconds() const {
  std::int64_t behind = timeOf(cursors_.front());
  for (const Cursor& c : cursors_) behind = std::min(behind, timeOf(c));
  return static_cast<double>(behind) / kTicksPerSecond;
}

}  // namespace tessaly::tools
