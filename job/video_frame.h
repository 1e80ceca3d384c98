// The size of the video's frame, as its first sequence header gives it: the frame the
// VobSub index names for its DVD-style units.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/codecs.h"
#include "job/stream_output.h"

namespace tessaly {

// HD DVD's frame until a sequence header says otherwise.
struct VideoFrame {
  int width = 1920;
  int height = 1080;
  bool operator==(const VideoFrame&) const = default;
};

// The frame of the first complete sequence header of `codec` in `bytes` (the start of a
// video elementary stream): MPEG-2 (B3), VC-1 advanced profile (0F, its display size when
// it has one) or H.264 (the sequence parameter set, less its cropping). None while no
// header is complete, or for a header that names no frame.
std::optional<VideoFrame> sequenceFrame(const Codec& codec, std::span<const std::uint8_t> bytes);

// The output of video stream 0, which also reads its frame from the stream's first bytes
// into `frame`, once; the bytes go on to `output` unchanged.
class FrameProbe final : public StreamOutput {
 public:
  // Bytes of the stream read at most for the header: a few packs.
  static constexpr std::size_t kMostBytes = 256 * 1024;

  FrameProbe(std::unique_ptr<StreamOutput> output, VideoFrame& frame)
      : output_(std::move(output)), frame_(frame) {}

  void packetStart(const OutputPacket& packet) override;
  void write(const std::uint8_t* data, std::size_t size) override;
  std::vector<std::string> passEnd() override { return output_->passEnd(); }
  void close() override { output_->close(); }

 private:
  std::unique_ptr<StreamOutput> output_;
  VideoFrame& frame_;
  const Codec* codec_ = nullptr;
  std::vector<std::uint8_t> head_;
  bool done_ = false;
};

}  // namespace tessaly
