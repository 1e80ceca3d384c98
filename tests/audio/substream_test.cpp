// Access units made of several sync frames, on streams built from real frames: E-AC-3
// dependent substreams join the unit of their independent substream, DTS-HD extension
// substreams the unit of their core; a stream of extension substreams alone is timed by
// their headers.
#include <gtest/gtest.h>

#include "audio_clips.h"

namespace tessaly::testing {
namespace {

// The clip's frames, each as its bytes.
std::vector<Bytes> framesOf(const Clip& clip) {
  std::vector<Bytes> frames;
  for (const ProbedPacket& p : clip.packets) {
    const auto at = clip.bytes.begin() + static_cast<std::ptrdiff_t>(p.pos);
    frames.emplace_back(at, at + p.size);
  }
  return frames;
}

void append(Bytes& to, const Bytes& from) {
  to.insert(to.end(), from.begin(), from.end());
}

// A DTS-HD extension substream header (narrow size fields), padded to `size` bytes; with
// `clock` (0..2) its static fields name the reference clock and `duration` (0..7).
Bytes substream(std::uint32_t size, int index, int clock = -1, int duration = 0) {
  std::vector<bool> bits;
  const auto put = [&](std::uint32_t value, int count) {
    for (int n = count - 1; n >= 0; --n) bits.push_back((value >> n) & 1);
  };
  put(0x64582025, 32);
  put(0, 8);  // user bits
  put(static_cast<std::uint32_t>(index), 2);
  put(0, 1);       // narrow sizes
  put(16 - 1, 8);  // header bytes - 1
  put(size - 1, 16);
  put(clock >= 0, 1);
  if (clock >= 0) {
    put(static_cast<std::uint32_t>(clock), 2);
    put(static_cast<std::uint32_t>(duration), 3);
  }
  Bytes out(size, 0);
  for (std::size_t n = 0; n < bits.size(); ++n) {
    if (bits[n]) out[n / 8] |= static_cast<std::uint8_t>(0x80 >> (n % 8));
  }
  return out;
}

class SubstreamTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    eac3_ = new Clip(encodeClip("eac3", "eac3", 6, 0.5, *dir_));
    dts_ = new Clip(encodeClip("dca", "dts", 6, 0.3, *dir_));
  }
  static void TearDownTestSuite() {
    delete eac3_;
    delete dts_;
    delete dir_;
  }
  static TempDir* dir_;
  static Clip* eac3_;
  static Clip* dts_;
};
TempDir* SubstreamTest::dir_ = nullptr;
Clip* SubstreamTest::eac3_ = nullptr;
Clip* SubstreamTest::dts_ = nullptr;

// Independent substream 0, then a dependent substream (strmtyp 1) and an independent
// substream 1 of the same program: one unit of 1536 samples; a dependent substream before
// any independent one has no unit and is skipped.
TEST_F(SubstreamTest, EAc3DependentSubstreamsJoinTheirIndependentOne) {
  const auto frames = framesOf(*eac3_);
  Bytes dependent = frames[0];
  dependent[2] = static_cast<std::uint8_t>((dependent[2] & 0x07) | 0x40);
  Bytes other = frames[0];
  other[2] = static_cast<std::uint8_t>((other[2] & 0x07) | 0x08);  // strmtyp 0, substream 1
  Bytes stream = dependent;
  for (const Bytes& f : frames) {
    append(stream, f);
    append(stream, dependent);
    append(stream, other);
  }
  const Walked w = walk(AudioCoding::DDPlus, stream, {1500, {1, 700}});
  ASSERT_EQ(w.frames.size(), frames.size());
  EXPECT_EQ(w.stats.skippedBytes, dependent.size());
  std::uint64_t at = dependent.size();
  for (std::size_t n = 0; n < frames.size(); ++n) {
    EXPECT_EQ(w.frames[n].offset, at);
    EXPECT_EQ(w.frames[n].size, frames[n].size() + dependent.size() + other.size());
    EXPECT_EQ(w.frames[n].samples, 1536);
    at += w.frames[n].size;
  }
}

// Core frames each with an extension substream: units of both, timed by the core. Two
// extension substreams of one index after a core: the second begins a unit of its own.
TEST_F(SubstreamTest, DtsHdExtensionSubstreamsJoinTheirCore) {
  const auto cores = framesOf(*dts_);
  const Bytes extension = substream(600, 0);
  Bytes stream;
  for (const Bytes& core : cores) {
    append(stream, core);
    append(stream, extension);
  }
  append(stream, substream(300, 0, 2, 0));  // index 0 again: its own unit, 512 samples
  const Walked w = walk(AudioCoding::DtsHd, stream, {2048, {3, 1000}});
  ASSERT_EQ(w.frames.size(), cores.size() + 1);
  for (std::size_t n = 0; n < cores.size(); ++n) {
    EXPECT_EQ(w.frames[n].size, cores[n].size() + extension.size());
    EXPECT_EQ(w.frames[n].samples, 512);
    EXPECT_EQ(w.frames[n].rate, 48000);
  }
  EXPECT_EQ(w.frames.back().size, 300u);
  EXPECT_EQ(w.frames.back().duration(), kUnitsPerSecond * 512 / 48000);
  EXPECT_EQ(w.stats.skippedBytes, 0u);
}

// Extension substreams alone (DTS-HD with no core): a unit each, its duration 512 x (code
// + 1) periods of the reference clock; one without static fields lasts as the last did.
TEST_F(SubstreamTest, ExtensionSubstreamsAloneAreTimedByTheirHeaders) {
  Bytes stream;
  for (int n = 0; n < 5; ++n) append(stream, substream(900, 0, 1, 3));  // 2048 / 44100 s
  append(stream, substream(900, 0));
  append(stream, substream(700, 0, 2, 1));  // 1024 / 48000 s
  const Walked w = walk(AudioCoding::DtsHd, stream, {2048, {1}});
  ASSERT_EQ(w.frames.size(), 7u);
  for (int n = 0; n < 6; ++n) {
    EXPECT_EQ(w.frames[n].samples, 2048);
    EXPECT_EQ(w.frames[n].rate, 44100);
  }
  EXPECT_EQ(w.frames[6].duration(), kUnitsPerSecond * 1024 / 48000);
}

}  // namespace
}  // namespace tessaly::testing
