// The Matroska parts' syncs: rounded against where mkvmerge ends each part, so that over
// many parts at fractional times no part starts more than half a millisecond off; and the
// words of a break.
#include <gtest/gtest.h>

#include "audio/break_words.h"
#include "audio/matroska_parts.h"

namespace tessaly {
namespace {

TEST(MatroskaPartsTest, SyncRoundingsNeverAddUp) {
  AudioTimeline t;
  t.anchorPts = 1000;
  std::int64_t start = 250 * kUnitsPerMs + kUnitsPerMs / 3;  // 250.33 ms after the zero
  for (int n = 0; n < 50; ++n) {
    const std::int64_t duration = 1000 * kUnitsPerMs + 4 * kUnitsPerMs / 10;  // 1000.4 ms
    const auto begin = static_cast<std::uint64_t>(n) * kMinPartBytes;
    t.parts.push_back({begin, begin + kMinPartBytes, start, duration, 1});
    start += duration + 7 * kUnitsPerMs / 10;  // a 0.7 ms step between the parts
  }
  const std::int64_t zero = unitsAfterAnchor(t, 1000);
  const std::vector<MkvPart> parts = matroskaParts(t, zero);
  ASSERT_EQ(parts.size(), 50u);
  EXPECT_EQ(parts[0].syncMs, 250);
  std::int64_t placed = zero;
  for (std::size_t n = 0; n < parts.size(); ++n) {
    placed += parts[n].syncMs * kUnitsPerMs;  // mkvmerge starts the part here
    EXPECT_LE(std::abs(placed - t.parts[n].start), kUnitsPerMs / 2) << n;
    EXPECT_EQ(parts[n].begin, t.parts[n].begin);
    placed += t.parts[n].duration;
  }
}

// Parts too small for mkvmerge to recognise their files go on in a neighbour's file where
// the bytes meet (the first one taking in the second); the parts after them keep their
// times. A small part between frames left out is left out too.
TEST(MatroskaPartsTest, SmallPartsGoOnInTheFileBeside) {
  constexpr std::int64_t ms = kUnitsPerMs;
  constexpr std::uint64_t big = kMinPartBytes;
  AudioTimeline t;
  t.anchorPts = 0;
  t.parts = {{0, 100, 0, 10 * ms, 1},                       // small, taking in the next
             {100, big, 30 * ms, 500 * ms, 50},             //
             {big, big + 200, 600 * ms, 20 * ms, 2},        // small, joined to the one before
             {big + 200, 3 * big, 700 * ms, 900 * ms, 90},  //
             {3 * big + 50, 3 * big + 90, 1700 * ms, 10 * ms, 1},  // bytes left out around
             {3 * big + 150, 5 * big, 1800 * ms, 900 * ms, 90}};
  const std::vector<MkvPart> parts = matroskaParts(t, 0);
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[0].begin, 0u);
  EXPECT_EQ(parts[0].end, big + 200);
  EXPECT_EQ(parts[0].syncMs, 0);
  EXPECT_EQ(parts[1].begin, big + 200);
  EXPECT_EQ(parts[1].syncMs, 700 - 530);  // the joined file plays 530 ms
  EXPECT_EQ(parts[1].end, 3 * big);
  EXPECT_EQ(parts[2].begin, 3 * big + 150);
  EXPECT_EQ(parts[2].syncMs, 1800 - 1600);
}

TEST(BreakWordsTest, WarningsNameTheStreamTheJumpAndTheTime) {
  EXPECT_EQ(breakWarning(3, "MLP", {3723004, 12, 0}),
            "Warning: audio stream 3 (MLP) has a gap of 12 ms at 1:02:03.004; the Matroska file "
            "keeps it.");
  EXPECT_EQ(breakWarning(0, "DD", {-30, -32, 1}),
            "Warning: audio stream 0 (DD) has an overlap of 32 ms at -0:00:00.030; 1 frame left "
            "out.");
  // A time in units after the anchor, counted from the zero and rounded.
  const AudioBreak b{0, 4000 * kUnitsPerMs + kUnitsPerMs / 2, -(100 * kUnitsPerMs - 1), 3, 0};
  EXPECT_EQ(breakRecord(b, 256 * kUnitsPerMs), (BreakRecord{3745, -100, 3}));
}

}  // namespace
}  // namespace tessaly
