// A frame walker finds the frames of one audio stream in its payload, fed in file order:
// packet() where each PES packet's payload starts, then the payload's bytes in runs of any
// size. Every cut of the same bytes gives the same frames. Corrupt input is passed over by
// searching for the next sync word; memory stays bounded however long the stream.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "audio/audio_frame.h"
#include "engine/codecs.h"

namespace tessaly {

struct WalkStats {
  std::uint64_t frames = 0;        // frames handed to the sink
  std::uint64_t skippedBytes = 0;  // bytes in no frame: before the first, between lost syncs,
                                   // of frames that no access unit takes, a cut-off last frame
  std::uint64_t resyncs = 0;       // times the walk lost the sync after a frame
};

class FrameWalker {
 public:
  virtual ~FrameWalker() = default;
  // A packet's payload starts at `streamOffset` (the bytes of the stream before it, counted
  // from its first); `pts` is its time stamp. An offset past the bytes given so far means
  // the bytes between are missing: the walk searches for the sync again there.
  virtual void packet(std::uint64_t streamOffset, std::optional<std::uint64_t> pts) = 0;
  // The next bytes of the payload.
  virtual void bytes(const std::uint8_t* data, std::size_t size) = 0;
  // The stream ended: the last whole frame is handed on, a cut-off one is counted skipped.
  virtual void finish() = 0;
  virtual const WalkStats& stats() const = 0;
};

// The walker for a stream of `coding`, handing its frames to `sink`; LPCM takes its format
// from `lpcmFormat`, the format bytes of the stream's first packet. Nullptr for LPCM whose
// format bytes name no sample size.
std::unique_ptr<FrameWalker> frameWalker(AudioCoding coding,
                                         const std::array<std::uint8_t, 3>& lpcmFormat,
                                         FrameSink& sink);

}  // namespace tessaly
