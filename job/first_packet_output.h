// An output made when its stream's first packet arrives: the packet's codec may decide
// the file's name (outputs named by codec) and its form (LPCM as WAV).
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "job/stream_output.h"

namespace tessaly {

class FirstPacketOutput final : public StreamOutput {
 public:
  // Makes the output for the stream whose first packet is `packet`; throws as the file
  // layer does.
  using Make = std::function<std::unique_ptr<StreamOutput>(const OutputPacket& packet)>;

  explicit FirstPacketOutput(Make make) : make_(std::move(make)) {}

  void packetStart(const OutputPacket& packet) override {
    if (!output_) output_ = make_(packet);
    output_->packetStart(packet);
  }
  // The engine tells a packet's start before its payload; bytes without one would be
  // made an output as those of a packet without a codec.
  void write(const std::uint8_t* data, std::size_t size) override {
    if (!output_) packetStart({});
    output_->write(data, size);
  }
  std::vector<std::string> passEnd() override {
    return output_ ? output_->passEnd() : std::vector<std::string>{};
  }
  // No packet came: no file was made.
  void close() override {
    if (output_) output_->close();
  }

 private:
  Make make_;
  std::unique_ptr<StreamOutput> output_;
};

}  // namespace tessaly
