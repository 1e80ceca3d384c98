// A title's chapters as a file of some of its clips holds them, read from a playlist
// whose clips carry their spans on the title's clock.
#include "playlist/clip_chapters.h"

#include <gtest/gtest.h>

#include "playlist/playlist_facts.h"
#include "playlist/xml_tag.h"

namespace tessaly {
namespace {

using Chapters = std::vector<std::pair<std::int64_t, std::string>>;

Chapters chaptersOf(const TitleFacts& title) {
  Chapters chapters;
  for (const ChapterFact& chapter : title.chapters)
    chapters.emplace_back(chapter.startMs, chapter.name);
  return chapters;
}

// On the 50fps clock 50 counts are one second: the spans are [0, 10 s), [10 s, 20 s) and
// [20 s, 25 s); the menu clip gives no times.
TitleFacts featureTitle() {
  const TimeBase clock = timeBase("50fps");
  TitleFacts title;
  for (
      const char* tag :
      {R"(<PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_1.MAP" titleTimeBegin="00:00:00:00" titleTimeEnd="00:00:10:00">)",
       R"(<PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_2.MAP" titleTimeBegin="00:00:10:00" titleTimeEnd="00:00:20:00">)",
       R"(<PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/WARNING.MAP" titleTimeBegin="00:00:20:00" titleTimeEnd="00:00:25:00">)",
       R"(<SubstituteAudioClip src="file:///dvddisc/HVDVD_TS/MENU.MAP" titleTimeBegin="00:00:00:00" titleTimeEnd="00:00:25:00">)"}) {
    title.clips.push_back(clipFact(*readXmlTag(tag), clock));
  }
  title.chapters = {{0, "Opening"},
                    {4000, "Two"},
                    {10000, "Second Segment"},
                    {19990, "Credits"},
                    {20000, "Warning"}};
  return title;
}

TEST(ClipChaptersTest, OnlyTheChaptersOfTheClipsReadFromTheirStart) {
  const TitleFacts title = featureTitle();
  ASSERT_EQ(title.clips.size(), 4u);
  EXPECT_EQ(title.clips[1].beginMs, 10000);
  EXPECT_EQ(title.clips[1].endMs, 20000);
  EXPECT_EQ(title.clips[3].beginMs, -1);  // only the primary clip's span counts

  EXPECT_EQ(chaptersOf(titleOfClips(title, {"FEATURE_2"})),
            (Chapters{{0, "Second Segment"}, {9990, "Credits"}}));
  EXPECT_EQ(
      chaptersOf(titleOfClips(title, {"FEATURE_1", "FEATURE_2"})),
      (Chapters{{0, "Opening"}, {4000, "Two"}, {10000, "Second Segment"}, {19990, "Credits"}}));
  EXPECT_EQ(chaptersOf(titleOfClips(title, {"WARNING"})), (Chapters{{0, "Warning"}}));
  // A file the title does not time keeps the whole title.
  EXPECT_EQ(chaptersOf(titleOfClips(title, {"MENU"})), chaptersOf(title));
  EXPECT_EQ(chaptersOf(titleOfClips(title, {"OTHER"})), chaptersOf(title));
}

}  // namespace
}  // namespace tessaly
