// The job's audio timing through the engine, over two segments: the delay from the first
// segment's video, a second segment whose time base starts again put back in line with its
// video (its audio packets coming before its first video packet), and the join checked
// like any frame: its audio starting 64 ms late is a gap there, kept.
#include <gtest/gtest.h>

#include "audio/break_words.h"
#include "audio_clips.h"
#include "timing_harness.h"
#include "tools/byte_sink.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

constexpr std::uint64_t kFirstBase = 8000000;  // segment 1's video starts here
constexpr std::uint64_t kSecondBase = 5000;    // segment 2's time base starts again here
constexpr std::uint64_t kPicture = 3600;       // 25 pictures a second
constexpr std::uint64_t kFrame = 2880;         // an E-AC-3 frame of 1536 samples
constexpr std::size_t kFramesFirst = 62;       // 1.984 s of audio in segment 1

// `pictures` video packets from `base` and the audio frames [from, to) of `clip`, the
// first at `audioPts`; the audio first when `audioFirst`.
void writeSegment(const std::string& path, const Clip& clip, std::size_t from, std::size_t to,
                  std::uint64_t base, int pictures, std::uint64_t audioPts, bool audioFirst) {
  tools::FileSink sink(path);
  tools::PsWriter w(sink, {.keepPayload = false});
  w.navPack();
  const std::uint64_t begin = clip.packets[from].pos;
  const std::uint64_t end = to < clip.packets.size() ? clip.packets[to].pos : clip.bytes.size();
  std::vector<StampedUnit> units;
  for (std::size_t n = from; n < to; ++n) {
    units.push_back({clip.packets[n].pos - begin, audioPts + (n - from) * kFrame});
  }
  const auto audio = [&] {
    writeAudio(w, Stream::ddPlus(0), std::span(clip.bytes).subspan(begin, end - begin), units,
               1500);
  };
  if (audioFirst) audio();
  for (int n = 0; n < pictures; ++n) {
    w.pack(Stream::mpeg2(0), 800, {.time = static_cast<std::int64_t>(base + kPicture * n)});
  }
  if (!audioFirst) audio();
  sink.close();
}

// Its audio sent before its video, and after it: the offset then known before the walk
// confirms the first segment's last frames, which stay the first segment's.
TEST(JobTimingTest, ASecondSegmentStartingAgainIsPutInLineWithItsVideo) {
  const TempDir dir;
  const Clip clip = encodeClip("eac3", "eac3", 2, 4.0, dir);
  for (const bool audioFirst : {true, false}) {
    SCOPED_TRACE(audioFirst ? "audio first" : "video first");
    // Segment 1: video for 2.24 s, the audio 256 ms after it and ending with it.
    const std::uint64_t audioStart = kFirstBase + 256 * 90;
    writeSegment(dir.file("FEATURE_1.EVO"), clip, 0, kFramesFirst, kFirstBase, 56, audioStart,
                 false);
    // Segment 2: PTS from 5000 on; its audio 64 ms after its video's start.
    writeSegment(dir.file("FEATURE_2.EVO"), clip, kFramesFirst, clip.packets.size(), kSecondBase,
                 40, kSecondBase + 64 * 90, audioFirst);

    TimingPass pass(dir);
    const JobTimingResult r = timeJob({dir.file("FEATURE_1.EVO"), dir.file("FEATURE_2.EVO")}, pass);
    ASSERT_EQ(r.segments.size(), 2u);
    EXPECT_EQ(r.zeroPts, kFirstBase);
    EXPECT_EQ(r.segments[0].endPts, kFirstBase + 56 * kPicture);
    EXPECT_EQ(r.segments[0].frameTicks, static_cast<std::int64_t>(kPicture));
    EXPECT_EQ(r.offsets, (std::vector<std::int64_t>{0, kFirstBase + 56 * kPicture - kSecondBase}));

    ASSERT_EQ(r.streams.size(), 1u);
    const AudioStreamTiming& s = r.streams[0];
    EXPECT_EQ(s.walk.frames, clip.packets.size());
    EXPECT_EQ(s.walk.skippedBytes, 0u);
    const std::int64_t zero = delayZero(r, s);
    EXPECT_EQ(s.timeline.parts.front().start - zero, 256 * kUnitsPerMs);
    ASSERT_EQ(s.timeline.breaks.size(), 1u);
    EXPECT_EQ(breakRecord(s.timeline.breaks[0], zero), (BreakRecord{2240, 64, 0}));
    EXPECT_EQ(s.timeline.breaks[0].offset, clip.packets[kFramesFirst].pos);
  }
}

}  // namespace
}  // namespace tessaly::testing
