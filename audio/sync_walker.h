// The frame walk of a sync-framed coding. It searches the bytes for a sync word, asks the
// coding what the header there says, passes over the frame's body without looking at it
// and expects the next header where the frame ends. A frame counts only once the header
// after it confirms it (or the stream ends there), so that neither a sync word inside other
// bytes nor a frame cut off makes a frame. Sync frames are gathered into access units,
// which get their PTS by where they start.
#pragma once

#include <memory>
#include <vector>

#include "audio/frame_walker.h"
#include "audio/packet_stamps.h"
#include "audio/sync_coding.h"

namespace tessaly {

class SyncWalker final : public FrameWalker {
 public:
  SyncWalker(std::unique_ptr<SyncCoding> coding, FrameSink& sink);

  void packet(std::uint64_t streamOffset, std::optional<std::uint64_t> pts) override;
  void bytes(const std::uint8_t* data, std::size_t size) override;
  void finish() override;
  const WalkStats& stats() const override { return stats_; }

 private:
  enum class State { Search, Header, Body };
  struct Located {
    SyncFrame frame;
    std::uint64_t offset = 0;
  };

  // Walks `size` bytes that start at stream offset `offset`.
  void walk(const std::uint8_t* data, std::size_t size, std::uint64_t offset);
  std::size_t searchStep(const std::uint8_t* data, std::size_t size, std::uint64_t offset);
  std::size_t headerStep(const std::uint8_t* data, std::size_t size);
  std::size_t bodyStep(std::size_t size);
  void headerFound(const SyncFrame& frame);
  void headerFailed();
  void frameComplete();
  void abandon();
  void startSearch();
  void expectHeader(std::uint64_t offset);
  void accept(Located located);
  void flushUnit();

  std::unique_ptr<SyncCoding> coding_;
  FrameSink& sink_;
  PacketStamps stamps_;
  WalkStats stats_;
  State state_ = State::Search;
  std::uint64_t position_ = 0;  // stream offset of the next byte given
  // Search: the last bytes seen and how many of them there are; bytes passed over.
  std::uint64_t window_ = 0;
  std::size_t windowBytes_ = 0;
  std::uint64_t searched_ = 0;
  // Header: the bytes of a candidate header, from the frame's start.
  std::vector<std::uint8_t> head_;
  std::uint64_t headAt_ = 0;
  std::size_t need_ = 0;
  // Body: the frame whose body is passed over, and its bytes still to come.
  Located current_;
  std::uint64_t bodyLeft_ = 0;
  bool locked_ = false;               // in sync: a frame was confirmed by the next header
  std::optional<Located> tentative_;  // a whole frame awaiting the header that confirms it
  std::optional<AudioFrame> unit_;    // the access unit being gathered
};

}  // namespace tessaly
