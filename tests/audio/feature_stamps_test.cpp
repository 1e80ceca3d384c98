// A feature multiplexed from encoded audio, as the benchmark's is: each packet stamped
// with the time of the first frame starting in it, whatever the frames' sizes, so that
// the demux's timing of several repetitions finds every frame on time.
#include <gtest/gtest.h>

#include "audio_clips.h"
#include "timing_harness.h"
#include "tools/audio_units.h"
#include "tools/byte_sink.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

TEST(FeatureStampsTest, RepeatedAudioOfAnySizeOfFramePlaysWithoutABreak) {
  const TempDir dir;
  // TrueHD's access units vary in size, AC-3's frames do not.
  const Clip dd = encodeClip("ac3", "ac3", 6, 1.0, dir);
  const Clip mlp = encodeClip("truehd", "truehd", 6, 0.8, dir);
  tools::FeatureMix mix({tools::framedAudio(Stream::dd(0), AudioCoding::DD, dd.bytes),
                         tools::framedAudio(Stream::mlp(2), AudioCoding::Mlp, mlp.bytes)});
  const std::string evo = dir.file("FEATURE_1.EVO");
  tools::FileSink sink(evo);
  tools::PsWriter writer(sink, {.keepPayload = false});
  mix.write(writer, 4 * (dd.bytes.size() + mlp.bytes.size()));
  sink.close();

  TimingPass pass(dir);
  const JobTimingResult result = timeJob({evo}, pass);
  ASSERT_EQ(result.streams.size(), 2u);
  for (const auto& [stream, clip] : {std::pair{result.streams[0], dd}, {result.streams[1], mlp}}) {
    SCOPED_TRACE(clip.codec);
    // Three repetitions at least, each frame's PTS where the frames before it end.
    EXPECT_GE(stream.walk.frames, 3 * clip.packets.size());
    EXPECT_TRUE(stream.timeline.breaks.empty());
    EXPECT_EQ(stream.timeline.largestDrift, 0);
  }
}

}  // namespace
}  // namespace tessaly::testing
