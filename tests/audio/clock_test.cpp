// The clock: breaks with their exact place, jump and frames left out; the parts that play
// without a break; TrueHD parts starting at major syncs; the 33-bit wrap; and where each
// segment's time line goes (segmentOffsets; a segment's frames put there through the
// engine in job_timing_test.cpp).
#include "audio/audio_clock.h"

#include <gtest/gtest.h>

#include "audio/segment_join.h"

namespace tessaly {
namespace {

constexpr std::uint64_t kWrap = std::uint64_t{1} << 33;
constexpr std::int64_t kDdTicks = 2880;  // 1536 samples at 48 kHz
constexpr std::int64_t kMs = kUnitsPerMs;

// Frames of one coding fed to a clock, each at a byte offset of its own; a PTS on every
// `stampEvery`th frame, at the disc time the test gives it.
class Frames {
 public:
  Frames(std::int64_t samples, std::int32_t rate, int majorEvery = 1)
      : samples_(samples), rate_(rate), majorEvery_(majorEvery) {}

  // `count` frames from disc time `ticks` (90 kHz, may pass the wrap), the first with a PTS.
  void run(int count, std::uint64_t ticks, int stampEvery = 1) {
    for (int n = 0; n < count; ++n) {
      const std::uint64_t pts =
          (ticks + static_cast<std::uint64_t>(n * samples_ * 90000 / rate_)) % kWrap;
      clock.frame({offset_, 100, samples_, rate_,
                   n % stampEvery == 0 ? std::optional<std::uint64_t>(pts) : std::nullopt,
                   index_ % majorEvery_ == 0});
      offset_ += 100;
      ++index_;
    }
  }
  const AudioTimeline& timeline() const { return clock.timeline(); }
  AudioClock clock;

 private:
  std::int64_t samples_;
  std::int32_t rate_;
  int majorEvery_;
  std::uint64_t offset_ = 0;
  int index_ = 0;
};

TEST(AudioClockTest, GapsAndOverlapsCutTheTimeLineAndLeaveOutTheLaterCopy) {
  Frames dd(1536, 48000);
  const std::uint64_t start = 900000;
  dd.run(125, start, 3);                          // 4 s
  dd.run(75, start + 125 * kDdTicks + 43200, 2);  // 480 ms later: a gap
  // 100 ms earlier than where those end: an overlap, of which three frames (-100, -68 and
  // -36 ms) are left out; the fourth, 4 ms early, plays where it starts.
  dd.run(50, start + 200 * kDdTicks + 43200 - 9000);
  const AudioTimeline& t = dd.timeline();
  EXPECT_EQ(t.anchorPts, start);
  EXPECT_EQ(t.frames, 250u);
  ASSERT_EQ(t.breaks.size(), 2u);
  EXPECT_EQ(t.breaks[0].offset, 12500u);
  EXPECT_EQ(t.breaks[0].at, 4000 * kMs);
  EXPECT_EQ(t.breaks[0].jump, 480 * kMs);
  EXPECT_EQ(t.breaks[0].framesDropped, 0u);
  EXPECT_EQ(t.breaks[1].offset, 20000u);
  EXPECT_EQ(t.breaks[1].at, (6400 + 480) * kMs);
  EXPECT_EQ(t.breaks[1].jump, -100 * kMs);
  EXPECT_EQ(t.breaks[1].framesDropped, 3u);
  EXPECT_EQ(t.breaks[1].lost, 0);
  ASSERT_EQ(t.parts.size(), 3u);
  EXPECT_EQ(t.parts[0].begin, 0u);
  EXPECT_EQ(t.parts[0].end, 12500u);
  EXPECT_EQ(t.parts[0].duration, 4000 * kMs);
  EXPECT_EQ(t.parts[1].start, 4480 * kMs);
  EXPECT_EQ(t.parts[1].frames, 75u);
  EXPECT_EQ(t.parts[2].begin, 20300u);
  EXPECT_EQ(t.parts[2].start, (6880 - 4) * kMs);
  EXPECT_EQ(t.parts[2].frames, 47u);
  EXPECT_EQ(t.largestDrift, 0);
}

// TrueHD: 0.833 ms units, a major sync every 16th. A gap at a unit without one leaves out
// the units up to the next (audio lost); an overlap leaves out the later copy and then the
// units up to a major sync.
TEST(AudioClockTest, TrueHdPartsStartAtAMajorSync) {
  Frames thd(40, 48000, 16);
  thd.run(100, 0, 8);                    // units 0..99
  thd.run(100, 100 * 75 + 9000);         // from unit 100 (no major sync), 100 ms later
  thd.run(100, 200 * 75 + 9000 - 4500);  // from unit 200, 50 ms earlier
  const AudioTimeline& t = thd.timeline();
  ASSERT_EQ(t.breaks.size(), 2u);
  EXPECT_EQ(t.breaks[0].jump, 100 * kMs);
  EXPECT_EQ(t.breaks[0].framesDropped, 12u);  // units 100..111; 112 holds a major sync
  EXPECT_EQ(t.breaks[0].lost, 12 * 75 * kUnitsPerTick);
  EXPECT_EQ(t.breaks[1].jump, -50 * kMs);
  // 60 units repeat (200..259); 260..271 wait for the major sync at 272.
  EXPECT_EQ(t.breaks[1].framesDropped, 72u);
  EXPECT_EQ(t.breaks[1].lost, 12 * 75 * kUnitsPerTick);
  ASSERT_EQ(t.parts.size(), 3u);
  EXPECT_EQ(t.parts[1].begin, 11200u);
  EXPECT_EQ(t.parts[2].begin, 27200u);
  EXPECT_EQ(t.parts[2].start, (272 * 75 + 9000 - 4500) * kUnitsPerTick);
}

// PTS across the 33-bit wrap go on; the frames before the first PTS end where it starts;
// a jump within half a frame is no break but is noted as drift.
TEST(AudioClockTest, TimesStayRightAcrossTheWrap) {
  Frames dd(1536, 48000);
  dd.clock.frame({0, 100, 1536, 48000, std::nullopt, true});
  dd.run(100, kWrap - 50 * kDdTicks, 4);
  dd.run(10, (kWrap + 50 * kDdTicks + 1000) % kWrap);  // 11 ms late: no break
  dd.run(10, 60 * kDdTicks + 90000);  // a second after where the frames before play to
  const AudioTimeline& t = dd.timeline();
  EXPECT_EQ(t.anchorPts, kWrap - 50 * kDdTicks);
  ASSERT_EQ(t.breaks.size(), 1u);
  EXPECT_EQ(t.breaks[0].at, 110 * kDdTicks * kUnitsPerTick);
  EXPECT_EQ(t.breaks[0].jump, 90000 * kUnitsPerTick);
  EXPECT_EQ(t.parts[0].start, -kDdTicks * kUnitsPerTick);
  EXPECT_EQ(t.parts[0].frames, 111u);
  EXPECT_EQ(t.largestDrift, 1000 * kUnitsPerTick);
}

TEST(SegmentJoinTest, OffsetsKeepAGoingTimeBaseAndRealignOneStartingAgain) {
  const std::uint64_t end = kWrap - 3600;  // where the first segment's pictures end
  const std::vector<SegmentVideo> segments = {
      {900000, end, 3600},
      {(end + 1000) % kWrap, 203600, 3600},  // goes on across the wrap, 1000 ticks late
      {std::nullopt, 0, 0},                  // no video: as the one before
      {5000, 93003, 3003},                   // starts again at 5000
      {93003 + 2000, 180000, 3003}};         // 2000 ticks late: more than half a frame
  const std::vector<std::int64_t> offsets = segmentOffsets(segments);
  ASSERT_EQ(offsets.size(), 5u);
  EXPECT_EQ(offsets[0], 0);
  EXPECT_EQ(offsets[1], 0);
  EXPECT_EQ(offsets[2], 0);
  EXPECT_EQ(offsets[3], 200000 + 3600 - 5000);
  EXPECT_EQ(offsets[4], offsets[3] - 2000);
}

// Past the limit of breaks the stream plays on in its last part, and counts them.
TEST(AudioClockTest, BreaksPastTheLimitAreCountedNotCut) {
  Frames dd(1536, 48000);
  for (int n = 0; n < 5000; ++n) dd.run(1, static_cast<std::uint64_t>(n) * 2 * kDdTicks);
  EXPECT_EQ(dd.timeline().breaks.size(), 4096u);
  EXPECT_EQ(dd.timeline().parts.size(), 4097u);
  EXPECT_EQ(dd.timeline().breaksNotCut, 5000u - 1 - 4096);
}

}  // namespace
}  // namespace tessaly
