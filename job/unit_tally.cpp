#include "job/unit_tally.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "job/hd_subpicture.h"

namespace tessaly {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kDvdTableAt = 2;         // after the unit's 16-bit size
constexpr std::size_t kDvdSequenceHeader = 4;  // delay, offset of the next sequence
constexpr std::uint8_t kForcedStart = 0x00;    // FSTA_DSP
constexpr std::uint8_t kEnd = 0xFF;            // CMD_END
constexpr std::uint8_t kColourChange = 0x07;   // CHG_COLCON: its 16-bit size counts itself

std::optional<std::size_t> dvdField(Bytes unit, std::size_t at) {
  if (at + 2 > unit.size()) return std::nullopt;
  return std::size_t{unit[at]} << 8 | unit[at + 1];
}

// The bytes DVD command `command` takes after its byte; none for a command the format
// does not have.
std::optional<std::size_t> dvdArguments(Bytes unit, std::uint8_t command, std::size_t at) {
  constexpr std::size_t kBytes[] = {0, 0, 0, 2, 2, 6, 4};  // commands 00 .. 06
  if (command < std::size(kBytes)) return kBytes[command];
  if (command != kColourChange) return std::nullopt;
  const auto size = dvdField(unit, at);
  if (!size || *size < 2) return std::nullopt;
  return size;
}

// True when the sequence at `at` holds FSTA_DSP before its end or an unknown command.
bool dvdSequenceForced(Bytes unit, std::size_t at) {
  for (at += kDvdSequenceHeader; at < unit.size() && unit[at] != kEnd;) {
    if (unit[at] == kForcedStart) return true;
    const auto bytes = dvdArguments(unit, unit[at], at + 1);
    if (!bytes) return false;
    at += 1 + *bytes;
  }
  return false;
}

bool dvdForced(Bytes unit) {
  auto at = dvdField(unit, kDvdTableAt);
  for (std::size_t n = 0; at && *at + kDvdSequenceHeader <= unit.size() && n < kMostSequences;
       ++n) {
    if (dvdSequenceForced(unit, *at)) return true;
    const auto next = dvdField(unit, *at + 2);
    if (!next || *next <= *at) return false;  // the last points to itself
    at = next;
  }
  return false;
}

}  // namespace

bool startsForced(UnitFormat format, Bytes unit) {
  if (format == UnitFormat::Dvd) return dvdForced(unit);
  const std::vector<HdSequence> sequences = hdSequences(unit);
  return std::any_of(sequences.begin(), sequences.end(),
                     [](const HdSequence& s) { return s.forcedStart; });
}

void UnitTally::packetStart(const OutputPacket& packet) {
  if (packet.pts) {
    if (inUnit_) endUnit();
    inUnit_ = true;
  }
  output_->packetStart(packet);
}

void UnitTally::write(const std::uint8_t* data, std::size_t size) {
  if (inUnit_)
    unit_.insert(unit_.end(), data, data + std::min(size, kMostUnitBytes - unit_.size()));
  output_->write(data, size);
}

void UnitTally::endUnit() {
  inUnit_ = false;
  if (units_.units == 0) {  // the first unit names the format
    UnitHead head;
    head.take(unit_.data(), unit_.size());
    units_.format = unitFormat(head);
  }
  ++units_.units;
  if (startsForced(units_.format, unit_)) ++units_.forcedUnits;
  unit_.clear();
  tell_(units_);
}

std::vector<std::string> UnitTally::passEnd() {
  if (inUnit_) endUnit();  // the timed outputs end the unit there too
  return output_->passEnd();
}

void UnitTally::close() {
  if (inUnit_) endUnit();
  output_->close();
}

}  // namespace tessaly
