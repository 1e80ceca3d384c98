// Real bitstreams for the audio tests: clips that ffmpeg encodes once per test program,
// the packets ffprobe finds in them, and a walk of a clip through a frame walker in packets
// and cuts of chosen sizes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "audio/frame_walker.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace tessaly::testing {

using Bytes = std::vector<std::uint8_t>;

// A packet ffprobe reads from an elementary stream: where it lies, how long it plays as an
// exact fraction of a second, whether it is a key frame.
struct ProbedPacket {
  std::uint64_t pos = 0;
  std::uint32_t size = 0;
  std::int64_t durationNum = 0;  // seconds = durationNum / durationDen
  std::int64_t durationDen = 1;
  bool key = false;
};

struct Clip {
  std::string codec;  // ffmpeg's encoder
  Bytes bytes;
  std::vector<ProbedPacket> packets;
};

// ffmpeg's encode of its lavfi `source`, with the options and file `output`.
void encodeLavfi(const std::string& source, const std::vector<std::string>& output,
                 const TempDir& dir);

// `codec` encoded by ffmpeg from a sine tone (`seconds` long, 48 kHz, `channels`), in its
// raw format `format`; the clip's packets as ffprobe reads them (given `probeOptions`
// before the file, for raw samples).
Clip encodeClip(const std::string& codec, const std::string& format, int channels, double seconds,
                const TempDir& dir, std::vector<std::string> probeOptions = {});

// The frames a walker gives.
class FrameList : public FrameSink {
 public:
  void frame(const AudioFrame& f) override { frames.push_back(f); }
  std::vector<AudioFrame> frames;
};

// How a stream is fed: a packet every `packetBytes` (packet n carrying the PTS 1000 + n when
// `timed`), its bytes in runs of the sizes of `cuts`, cycled.
struct Feed {
  std::size_t packetBytes = 2000;
  std::vector<std::size_t> cuts = {1u << 30};
  bool timed = true;
};

struct Walked {
  std::vector<AudioFrame> frames;
  WalkStats stats;
};

Walked walk(AudioCoding coding, const Bytes& bytes, const Feed& feed,
            const std::array<std::uint8_t, 3>& lpcmFormat = {});

}  // namespace tessaly::testing
