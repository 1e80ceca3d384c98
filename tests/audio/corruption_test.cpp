// Corrupt input: the walk searches for the sync again and counts what it passed over, and
// never takes a cut-off frame for a whole one. (Random bytes, and the same frames for any
// cut of them, are the fuzz target's: tests/fuzz/audio_fuzzer.cpp.)
#include <gtest/gtest.h>

#include "audio_clips.h"

namespace tessaly::testing {
namespace {

class CorruptionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    clips_ = new std::vector<std::pair<AudioCoding, Clip>>{
        {AudioCoding::DD, encodeClip("ac3", "ac3", 6, 1.0, *dir_)},
        {AudioCoding::DDPlus, encodeClip("eac3", "eac3", 2, 1.0, *dir_)},
        {AudioCoding::Mlp, encodeClip("truehd", "truehd", 6, 0.8, *dir_)},
        {AudioCoding::DtsHd, encodeClip("dca", "dts", 2, 0.5, *dir_)}};
  }
  static void TearDownTestSuite() {
    delete clips_;
    delete dir_;
  }
  static const Clip& clip(AudioCoding coding) {
    for (const auto& [c, clip] : *clips_) {
      if (c == coding) return clip;
    }
    throw std::logic_error("no clip");
  }
  static TempDir* dir_;
  static std::vector<std::pair<AudioCoding, Clip>>* clips_;
};
TempDir* CorruptionTest::dir_ = nullptr;
std::vector<std::pair<AudioCoding, Clip>>* CorruptionTest::clips_ = nullptr;

// 1,000 bytes that hold no sync word after frame 9: frame 9, not followed by a header, is
// not taken for whole; every other frame is found, once.
TEST_F(CorruptionTest, BytesBetweenFramesArePassedOver) {
  const Clip& c = clip(AudioCoding::DD);
  Bytes stream = c.bytes;
  const auto at = static_cast<std::ptrdiff_t>(c.packets[10].pos);
  stream.insert(stream.begin() + at, 1000, 0xFF);
  const Walked w = walk(AudioCoding::DD, stream, {2000, {333}});
  ASSERT_EQ(w.frames.size(), c.packets.size() - 1);
  EXPECT_EQ(w.frames[9].offset, c.packets[10].pos + 1000);
  EXPECT_EQ(w.stats.skippedBytes, 1000 + c.packets[9].size);
  EXPECT_EQ(w.stats.resyncs, 1u);
}

// The second half of frame 20 missing: its header's size runs into frame 21, so neither
// is whole; the walk finds the next frame a decoder can start at and goes on.
TEST_F(CorruptionTest, ACutOffFrameIsNoFrame) {
  for (AudioCoding coding : {AudioCoding::DDPlus, AudioCoding::DtsHd, AudioCoding::Mlp}) {
    const Clip& c = clip(coding);
    const ProbedPacket& cut = c.packets[20];
    Bytes stream = c.bytes;
    const auto half = static_cast<std::ptrdiff_t>(cut.pos + cut.size / 2);
    stream.erase(stream.begin() + half,
                 stream.begin() + static_cast<std::ptrdiff_t>(cut.pos + cut.size));
    const Walked w = walk(coding, stream, {2000, {1}});
    SCOPED_TRACE(c.codec);
    ASSERT_GE(w.frames.size(), 21u);
    EXPECT_EQ(w.frames[19].offset, c.packets[19].pos);
    // TrueHD starts again at the next major sync only (every 16th unit in ffmpeg's).
    const std::size_t next = coding == AudioCoding::Mlp ? 32 : 22;
    EXPECT_EQ(w.frames[20].offset, c.packets[next].pos - (cut.size - cut.size / 2));
    EXPECT_EQ(w.frames.size(), c.packets.size() - (next - 20));
    EXPECT_EQ(w.stats.resyncs, 1u);
  }
}

}  // namespace
}  // namespace tessaly::testing
