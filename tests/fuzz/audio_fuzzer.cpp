// The frame walkers and the clock over arbitrary bytes: the input chooses the coding (and
// an LPCM format), the packets' size and the cuts the bytes are fed in; each packet's PTS
// comes from its first byte, so that the time line breaks anywhere. What must hold: the
// same frames and counts fed whole or cut, every frame within the stream, in order and
// apart, and every part of the time line within the stream, in order, made of its frames.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <vector>

#include "audio/audio_clock.h"
#include "audio/frame_walker.h"
#include "audio/matroska_parts.h"
#include "fuzz/fuzz_session.h"

namespace tessaly {
namespace {

using fuzzing::require;

struct Walk final : FrameSink {
  void frame(const AudioFrame& f) override {
    frames.push_back(f);
    clock.frame(f);
  }
  std::vector<AudioFrame> frames;
  AudioClock clock;
  WalkStats stats;
};

void walk(AudioCoding coding, const std::array<std::uint8_t, 3>& format,
          const std::vector<std::uint8_t>& bytes, std::size_t packet, std::size_t cut, Walk& w) {
  const auto walker = frameWalker(coding, format, w);
  if (!walker) return;
  for (std::size_t at = 0; at < bytes.size();) {
    if (at % packet == 0) walker->packet(at, at / packet * 2000 + bytes[at] * 40);
    const std::size_t end = std::min({at + cut, (at / packet + 1) * packet, bytes.size()});
    walker->bytes(bytes.data() + at, end - at);
    at = end;
  }
  walker->finish();
  w.stats = walker->stats();
}

// The Matroska parts cut only where the time line breaks (a part too small for mkvmerge
// goes on in its neighbour's file, or is left out), in order and within the stream.
void checkMatroskaParts(const AudioTimeline& t, std::size_t size) {
  const std::vector<MkvPart> parts = matroskaParts(t, 0);
  require(parts.size() <= std::max<std::size_t>(t.parts.size(), 1), "a part without a break");
  std::uint64_t end = 0;
  for (const MkvPart& p : parts) {
    require(p.begin >= end && p.begin < p.end && p.end <= size, "a Matroska part out of place");
    const bool atPart = std::any_of(t.parts.begin(), t.parts.end(),
                                    [&](const AudioPart& a) { return a.begin == p.begin; });
    require(atPart || t.parts.empty(), "a Matroska part that starts where no part does");
    end = p.end;
  }
}

void check(const Walk& whole, const Walk& cut, std::size_t size) {
  require(whole.frames.size() == cut.frames.size(), "the cuts change the frames");
  require(whole.stats.skippedBytes == cut.stats.skippedBytes, "the cuts change the bytes skipped");
  std::uint64_t end = 0;
  for (std::size_t n = 0; n < whole.frames.size(); ++n) {
    const AudioFrame& f = whole.frames[n];
    require(f.offset == cut.frames[n].offset && f.size == cut.frames[n].size, "frames differ");
    require(f.offset >= end && f.end() <= size && f.size > 0, "a frame out of place");
    end = f.end();
  }
  const AudioTimeline& t = whole.clock.timeline();
  std::uint64_t frames = 0;
  std::uint64_t partEnd = 0;
  for (const AudioPart& p : t.parts) {
    require(p.begin >= partEnd && p.begin < p.end && p.end <= size, "a part out of place");
    partEnd = p.end;
    frames += p.frames;
  }
  for (const AudioBreak& b : t.breaks) frames += b.framesDropped;
  require(frames == whole.frames.size(), "a frame neither kept nor left out");
  require(t.breaks.size() + 1 >= t.parts.size(), "a part without a break");
  checkMatroskaParts(t, size);
}

}  // namespace
}  // namespace tessaly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessaly;
  FuzzedDataProvider input(data, size);
  const auto coding = static_cast<AudioCoding>(input.ConsumeIntegralInRange(0, 4));
  const std::array<std::uint8_t, 3> format{0, input.ConsumeIntegral<std::uint8_t>(), 0};
  const std::size_t packet = input.ConsumeIntegralInRange<std::size_t>(1, 4096);
  const std::size_t cut = input.ConsumeIntegralInRange<std::size_t>(1, 97);
  const std::vector<std::uint8_t> bytes = input.ConsumeRemainingBytes<std::uint8_t>();
  Walk whole;
  Walk pieces;
  walk(coding, format, bytes, packet, bytes.size() + 1, whole);
  walk(coding, format, bytes, packet, cut, pieces);
  check(whole, pieces, bytes.size());
  return 0;
}
