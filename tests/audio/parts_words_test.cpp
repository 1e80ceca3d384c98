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
    t.parts.push_back({static_cast<std::uint64_t>(n) * 10, static_cast<std::uint64_t>(n) * 10 + 10,
                       start, duration, 1});
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
