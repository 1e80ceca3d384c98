// The frames of an LPCM stream: LPCM has no frames of its own, so a frame here is the run
// of whole blocks (audio/lpcm_format.h) that start in one packet, timed by that packet's
// PTS. Blocks count from the stream's first byte, as a decoder (and the WAV writer) reads
// them; the bytes of a block cut off by the end are no frame's.
#pragma once

#include "audio/frame_walker.h"
#include "audio/lpcm_format.h"

namespace tessaly {

class LpcmWalker final : public FrameWalker {
 public:
  LpcmWalker(const LpcmFormat& format, FrameSink& sink);

  void packet(std::uint64_t streamOffset, std::optional<std::uint64_t> pts) override;
  void bytes(const std::uint8_t* data, std::size_t size) override;
  void finish() override;
  const WalkStats& stats() const override { return stats_; }

 private:
  // The blocks starting between `from_` and `to` make the packet's frame.
  void endPacket(std::uint64_t to);
  void handOn();
  std::uint64_t blockAfter(std::uint64_t offset) const;

  LpcmFormat format_;
  std::uint64_t block_;
  FrameSink& sink_;
  WalkStats stats_;
  std::uint64_t position_ = 0;  // stream offset of the next byte given
  std::uint64_t from_ = 0;      // where the current packet's payload starts
  std::optional<std::uint64_t> pts_;
  std::optional<AudioFrame> pending_;  // a frame whose last block is still to come
};

}  // namespace tessaly
