// A film's audio parts across the clips of a title.
#include "disc/title_parts.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The second clip's parts follow the first clip's bytes; a clip without parts (its stream
// not timed) leaves the track without any, also when a later clip has them again.
TEST(TitlePartsTest, EachClipsAudioPartsGoOnTheTitlesBytes) {
  constexpr std::int64_t ms = kUnitsPerMs;
  const std::vector<AudioPart> first{{0, 900, 256 * ms, 3000 * ms, 94},
                                     {900, 1200, 3736 * ms, 1000 * ms, 31}};
  const std::vector<AudioPart> second{{0, 500, 4100 * ms, 2000 * ms, 62}};
  std::vector<AudioPart> title;
  placeAudioParts(title, first, 0);
  placeAudioParts(title, second, 1200);
  EXPECT_EQ(title,
            (std::vector<AudioPart>{first[0], first[1], {1200, 1700, 4100 * ms, 2000 * ms, 62}}));

  placeAudioParts(title, {}, 1700);
  EXPECT_TRUE(title.empty());
  placeAudioParts(title, second, 2300);
  EXPECT_TRUE(title.empty());
}

}  // namespace
}  // namespace tessaly
