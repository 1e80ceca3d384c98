// The choice of the main feature and the extras on titles as the disc model holds them.
#include <gtest/gtest.h>

#include "disc/disc.h"

namespace tessaly {
namespace {

constexpr std::int64_t kMinute = 60000;

// A title of `minutes` whose clips have EVOs of these sizes (-1: no EVO found).
DiscTitle title(int number, std::int64_t minutes, std::vector<std::int64_t> evos) {
  DiscTitle made;
  made.number = number;
  made.durationMs = minutes < 0 ? -1 : minutes * kMinute;
  for (const std::int64_t size : evos) {
    DiscClip clip;
    if (size >= 0) clip.evo = "PART.EVO";
    clip.evoSize = size < 0 ? 0 : size;
    made.clips.push_back(clip);
  }
  return made;
}

std::vector<int> marked(const std::vector<DiscTitle>& titles, bool DiscTitle::*mark) {
  std::vector<int> numbers;
  for (const DiscTitle& t : titles) {
    if (t.*mark) numbers.push_back(t.number);
  }
  return numbers;
}

TEST(MainFeatureTest, TheLongestPlayableTitleOfEqualOnesTheLargerThenTheFirst) {
  std::vector<DiscTitle> titles{
      title(1, 95, {3, 2}),    // 5 bytes
      title(2, 95, {4, 3}),    // 7 bytes: the larger of the longest
      title(3, 95, {7}),       // as large, later
      title(4, 120, {9, -1}),  // longer, but an EVO is missing
      title(5, 130, {}),       // longer, without clips
      title(6, -1, {100}),     // no duration
      title(7, 9, {1}),        // an extra
      title(8, 10, {1}),       // ten minutes is no extra
  };
  markTitles(titles, true);
  EXPECT_EQ(marked(titles, &DiscTitle::main), std::vector<int>{2});
  EXPECT_EQ(marked(titles, &DiscTitle::extra), std::vector<int>{7});
}

TEST(MainFeatureTest, AShortFeatureIsNoExtraAndOtherPlaylistsHaveNone) {
  std::vector<DiscTitle> titles{title(1, 2, {1}), title(2, 5, {1})};
  auto other = titles;
  markTitles(titles, true);
  EXPECT_EQ(marked(titles, &DiscTitle::main), std::vector<int>{2});
  EXPECT_EQ(marked(titles, &DiscTitle::extra), std::vector<int>{1});
  markTitles(other, false);
  EXPECT_EQ(marked(other, &DiscTitle::main), std::vector<int>{});
  EXPECT_EQ(marked(other, &DiscTitle::extra), (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace tessaly
