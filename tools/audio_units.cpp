#include "tools/audio_units.h"

#include <stdexcept>

#include "audio/frame_walker.h"

namespace tessaly::tools {
namespace {

// The frames' places and times, as the walker hands them on.
class FrameTimes final : public FrameSink {
 public:
  void frame(const AudioFrame& frame) override {
    framing.units.push_back(frame.offset);
    if (frame.majorSync) framing.entries.push_back(frame.offset);
    framing.times.push_back(static_cast<double>(played) / kUnitsPerSecond);
    played += frame.duration();
  }
  Framing framing;
  std::int64_t played = 0;  // units
};

}  // namespace

Elementary framedAudio(const Stream& stream, AudioCoding coding, std::vector<std::uint8_t> bytes) {
  FrameTimes times;
  const auto walker = frameWalker(coding, {}, times);
  if (!walker) throw std::invalid_argument("LPCM's frames are its packets'");
  walker->packet(0, std::nullopt);
  walker->bytes(bytes.data(), bytes.size());
  walker->finish();
  if (times.played == 0) throw std::invalid_argument("no audio frame in the stream");
  return {.stream = stream,
          .bytes = std::move(bytes),
          .seconds = static_cast<double>(times.played) / kUnitsPerSecond,
          .framing = std::move(times.framing)};
}

}  // namespace tessaly::tools
