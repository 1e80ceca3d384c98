// An audio frame as a walker finds it in a stream's payload: an access unit of its coding
// (an AC-3 or E-AC-3 sync frame with its dependent substreams, a DTS core frame with its
// extension substreams, a TrueHD/MLP access unit, the LPCM sample periods that start in one
// packet), where it lies in the stream and how long it plays.
#pragma once

#include <cstdint>
#include <optional>

#include "audio/audio_time.h"

namespace tessaly {

struct AudioFrame {
  std::uint64_t offset = 0;  // of its first byte, counted from the stream's first byte
  std::uint32_t size = 0;    // bytes
  std::int64_t samples = 0;  // sample periods it plays
  std::int32_t rate = 0;     // Hz
  // The PTS of its packet (33 bits, 90 kHz) when it is the first frame starting in a packet
  // that carries one.
  std::optional<std::uint64_t> pts;
  // A decoder can start here: every AC-3, DTS and LPCM frame, a TrueHD/MLP access unit
  // only when it holds a major sync.
  bool majorSync = true;

  std::int64_t duration() const { return sampleUnits(samples, rate); }
  std::uint64_t end() const { return offset + size; }
};

// Takes the frames of one stream, in stream order.
class FrameSink {
 public:
  virtual ~FrameSink() = default;
  virtual void frame(const AudioFrame& frame) = 0;
};

}  // namespace tessaly
