// The frame walkers on real bitstreams: ffmpeg's AC-3, E-AC-3, TrueHD, MLP and DTS clips
// give exactly the packets ffprobe reads from them, fed whole, a byte at a time or in odd
// cuts, each PTS on the first frame starting in its packet; LPCM gives whole blocks per
// packet.
#include <gtest/gtest.h>

#include "audio_clips.h"

namespace tessaly::testing {
namespace {

struct ClipCase {
  const char* codec;
  const char* format;
  int channels;
  AudioCoding coding;
};

class RealClipTest : public ::testing::TestWithParam<ClipCase> {
 protected:
  static void SetUpTestSuite() { dir_ = new TempDir; }
  static void TearDownTestSuite() { delete dir_; }
  static TempDir* dir_;
};
TempDir* RealClipTest::dir_ = nullptr;

// Where the packets of a feed start: a frame starting at `offset` is in packet n.
std::uint64_t packetOf(std::uint64_t offset, const Feed& feed) {
  return offset / feed.packetBytes;
}

TEST_P(RealClipTest, FramesAreFfprobesPacketsForAnyCut) {
  const ClipCase c = GetParam();
  const Clip clip = encodeClip(c.codec, c.format, c.channels, 1.5, *dir_);
  for (const Feed& feed : {Feed{2000, {1u << 30}}, Feed{2000, {1}}, Feed{2011, {7, 13, 4093}}}) {
    SCOPED_TRACE("cuts of " + std::to_string(feed.cuts.front()));
    const Walked w = walk(c.coding, clip.bytes, feed);
    EXPECT_EQ(w.stats.skippedBytes, 0u);
    EXPECT_EQ(w.stats.resyncs, 0u);
    ASSERT_EQ(w.frames.size(), clip.packets.size());
    std::optional<std::uint64_t> lastPacket;
    for (std::size_t n = 0; n < w.frames.size(); ++n) {
      const AudioFrame& f = w.frames[n];
      const ProbedPacket& p = clip.packets[n];
      SCOPED_TRACE("frame " + std::to_string(n));
      ASSERT_EQ(f.offset, p.pos);
      ASSERT_EQ(f.size, p.size);
      // samples / rate seconds against ffprobe's duration, as exact fractions.
      ASSERT_EQ(f.samples * p.durationDen, p.durationNum * f.rate);
      ASSERT_EQ(f.majorSync, p.key);
      const std::uint64_t packet = packetOf(f.offset, feed);
      const bool firstInPacket = packet != lastPacket;
      lastPacket = packet;
      ASSERT_EQ(f.pts, firstInPacket ? std::optional<std::uint64_t>(1000 + packet) : std::nullopt);
    }
  }
}

// AC-3 walked as DD+ (as the DD+ range may carry it): the bit stream id tells it apart.
INSTANTIATE_TEST_SUITE_P(Codings, RealClipTest,
                         ::testing::Values(ClipCase{"ac3", "ac3", 6, AudioCoding::DDPlus},
                                           ClipCase{"eac3", "eac3", 6, AudioCoding::DDPlus},
                                           ClipCase{"truehd", "truehd", 6, AudioCoding::Mlp},
                                           ClipCase{"mlp", "mlp", 2, AudioCoding::Mlp},
                                           ClipCase{"dca", "dts", 6, AudioCoding::DtsHd}),
                         [](const auto& test) { return std::string(test.param.codec); });

// LPCM: the whole blocks that start in each packet, 16-bit stereo (4-byte blocks, against
// the samples ffprobe counts in the same stream) and 24-bit 5.1 (72-byte blocks of four
// sample periods); the block cut off at the end is no frame's.
TEST(LpcmWalkerTest, FramesAreTheWholeBlocksStartingInEachPacket) {
  const TempDir dir;
  const Clip clip = encodeClip("pcm_s16be", "s16be", 2, 1.0, dir,
                               {"-f", "s16be", "-sample_rate", "48000", "-ch_layout", "stereo"});
  std::int64_t probedSamples = 0;
  for (const ProbedPacket& p : clip.packets) probedSamples += p.durationNum * 48000 / p.durationDen;
  struct Case {
    std::array<std::uint8_t, 3> format;  // 48 kHz; 16 bits stereo, 24 bits 6 channels
    std::uint64_t block;
    std::int64_t periods;
  };
  for (const Case& c : {Case{{0, 0x01, 0x80}, 4, 1}, Case{{0, 0x85, 0x80}, 72, 4}}) {
    Bytes bytes = clip.bytes;
    bytes.resize(bytes.size() + 3);  // a cut-off block
    for (const Feed& feed : {Feed{2001, {1u << 30}}, Feed{2001, {1, 5, 333}}}) {
      const Walked w = walk(AudioCoding::Lpcm, bytes, feed, c.format);
      std::uint64_t next = 0;
      std::int64_t samples = 0;
      for (const AudioFrame& f : w.frames) {
        const std::uint64_t packet = f.offset / feed.packetBytes;
        ASSERT_EQ(f.offset, next);  // every block in a frame, in order
        ASSERT_EQ(f.offset % c.block, 0u);
        ASSERT_LT(f.offset - packet * feed.packetBytes, c.block);  // the first block starting in it
        ASSERT_EQ(f.pts, 1000 + packet);
        ASSERT_EQ(f.samples, static_cast<std::int64_t>(f.size / c.block) * c.periods);
        next = f.end();
        samples += f.samples;
      }
      EXPECT_EQ(next, bytes.size() / c.block * c.block);
      EXPECT_EQ(w.stats.skippedBytes, bytes.size() % c.block);
      if (c.block == 4) {
        EXPECT_EQ(samples, probedSamples);
      }
    }
  }
}

}  // namespace
}  // namespace tessaly::testing
