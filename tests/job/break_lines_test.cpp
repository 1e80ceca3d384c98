// The warnings of a disc whose audio breaks over and over: a stream with more breaks than
// the log shows gets its first few and one line for the rest, a stream with as many as
// shown gets a line each; the report's records keep every break.
#include <gtest/gtest.h>

#include "audio/audio_time.h"
#include "job/break_lines.h"

namespace tessaly {
namespace {

constexpr std::int64_t kMs = kUnitsPerMs;

// A DD+ stream of slot `slot` with `count` gaps of 10 ms, one a second from 1 s on.
AudioStreamTiming gappedStream(int slot, std::size_t count) {
  AudioStreamTiming stream;
  stream.slot = slot;
  stream.coding = AudioCoding::DDPlus;
  stream.timeline.anchorPts = 90000;
  for (std::size_t n = 0; n < count; ++n) {
    const auto at = static_cast<std::int64_t>(n + 1) * 1000 * kMs;
    stream.timeline.breaks.push_back({0, at, 10 * kMs, 0, 0});
  }
  return stream;
}

TEST(BreakLinesTest, AStreamOfManyBreaksGetsItsFirstTenAndOneLineForTheRest) {
  JobTimingResult timing;
  timing.zeroPts = 90000;
  timing.streams = {gappedStream(kAudioSlot, 2500), gappedStream(kAudioSlot + 1, kShownBreaks)};
  const std::vector<std::string> lines = breakLines(timing);
  ASSERT_EQ(lines.size(), 2 * kShownBreaks + 1);
  EXPECT_EQ(lines[0],
            "Warning: audio stream 0 (DD+) has a gap of 10 ms at 0:00:01.000; the Matroska file "
            "keeps it.");
  EXPECT_EQ(lines[9],
            "Warning: audio stream 0 (DD+) has a gap of 10 ms at 0:00:10.000; the Matroska file "
            "keeps it.");
  EXPECT_EQ(
      lines[10],
      "Warning: audio stream 0 (DD+) has 2490 more breaks; the Matroska file keeps them all.");
  EXPECT_EQ(lines[20],
            "Warning: audio stream 1 (DD+) has a gap of 10 ms at 0:00:10.000; the Matroska file "
            "keeps it.");
  const StreamBreaks records = jobBreaks(timing);
  ASSERT_EQ(records.at(kAudioSlot).size(), 2500u);
  EXPECT_EQ(records.at(kAudioSlot).back(), (BreakRecord{2500000, 10, 0}));
}

}  // namespace
}  // namespace tessaly
