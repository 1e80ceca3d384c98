// The time stamps of a stream's packets, handed to the frames that start in them: a
// packet's PTS belongs to the first frame that starts in that packet, and a packet in which
// no frame starts loses its PTS. Frames ask in stream order; only the packets a frame may
// still start in are kept.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

namespace tessaly {

class PacketStamps {
 public:
  // A packet's payload starts at `offset` of the stream.
  void packet(std::uint64_t offset, std::optional<std::uint64_t> pts);
  // The PTS for a frame starting at `offset`, when it is the first frame starting in a
  // packet with one; offsets never go back.
  std::optional<std::uint64_t> take(std::uint64_t offset);

 private:
  struct Stamp {
    std::uint64_t offset;
    std::optional<std::uint64_t> pts;  // emptied when a frame took it
  };
  std::deque<Stamp> stamps_;
};

}  // namespace tessaly
