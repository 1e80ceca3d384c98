#include "audio/packet_stamps.h"

#include <utility>

namespace tessaly {
namespace {

// Packets kept for frames still to come: far more than a frame of any coding spans, so a
// stretch without frames (lost sync) cannot make the list grow.
constexpr std::size_t kMaxStamps = 256;

}  // namespace

void PacketStamps::packet(std::uint64_t offset, std::optional<std::uint64_t> pts) {
  stamps_.push_back({offset, pts});
  if (stamps_.size() > kMaxStamps) stamps_.pop_front();
}

std::optional<std::uint64_t> PacketStamps::take(std::uint64_t offset) {
  // A packet is the frame's when it is the last one starting at or before the frame.
  while (stamps_.size() > 1 && stamps_[1].offset <= offset) stamps_.pop_front();
  if (stamps_.empty() || stamps_.front().offset > offset) return std::nullopt;
  return std::exchange(stamps_.front().pts, std::nullopt);
}

}  // namespace tessaly
