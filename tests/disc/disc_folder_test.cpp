// Where the disc is found from what the operator gives, and what a hostile disc folder or
// playlist does to the model: nothing crashes, nothing grows without bound.
#include <gtest/gtest.h>

#include <filesystem>

#include "disc_fixture.h"
#include "support/error_message.h"

namespace tessaly::testing {
namespace {

// A playlist of one title of one clip, the .MAP `map`.
std::string oneTitle(const std::string& map) {
  return R"(<Playlist><TitleSet><Title id="Only" titleDuration="00:30:00:00">
<PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/)" +
         map + R"(" titleTimeBegin="00:00:00:00" titleTimeEnd="00:30:00:00"/>
</Title></TitleSet></Playlist>)";
}

class DiscFolderTest : public DiscFixture {
 protected:
  DiscFolderTest() {
    evo("ONLY.EVO", 10);
    playlist("VPLST000.XPL", oneTitle("ONLY.MAP"));
  }
};

TEST_F(DiscFolderTest, TheDiscIsItsFolderOrAnyFileOrFolderInIt) {
  const std::string folder = std::filesystem::path(discPath()).lexically_normal().string();
  for (const std::string& given : {discPath(), discPath() + "/", discPath() + "/HVDVD_TS/ONLY.EVO",
                                   discPath() + "/ADV_OBJ", discPath() + "/ADV_OBJ/VPLST000.XPL"}) {
    SCOPED_TRACE(given);
    const Disc found = readDisc(given);
    EXPECT_EQ(found.path, folder);
    EXPECT_EQ(found.boot, "VPLST000.XPL");
  }
}

TEST_F(DiscFolderTest, AFolderWithoutHvdvdTsIsNoDisc) {
  std::filesystem::create_directories(dir.file("other/ADV_OBJ"));
  for (const std::string& given : {dir.file("other"), dir.file("missing/HVDVD_TS")}) {
    EXPECT_EQ(messageOf([&] { readDisc(given); }),
              "No HD DVD disc at \"" + given + "\": no HVDVD_TS folder in it or above it");
  }
  // HVDVD_TS as a file is not the folder either.
  writeFile(dir.file("other/HVDVD_TS"), std::string("x"));
  EXPECT_EQ(
      messageOf([&] { readDisc(dir.file("other")); }),
      "No HD DVD disc at \"" + dir.file("other") + "\": no HVDVD_TS folder in it or above it");
}

TEST_F(DiscFolderTest, ADiscWithoutPlaylistsHasNoBootPlaylist) {
  std::filesystem::remove_all(dir.file("disc/ADV_OBJ"));
  const Disc found = readDisc(discPath());
  EXPECT_TRUE(found.playlists.empty());
  EXPECT_EQ(found.boot, "");
  EXPECT_EQ(found.mainFeature(), nullptr);
}

TEST_F(DiscFolderTest, LinksAreNeitherEvosNorPlaylists) {
  std::filesystem::create_symlink(dir.file("disc/HVDVD_TS/ONLY.EVO"),
                                  dir.file("disc/HVDVD_TS/LINKED.EVO"));
  std::filesystem::create_symlink(dir.file("disc/ADV_OBJ/VPLST000.XPL"),
                                  dir.file("disc/ADV_OBJ/VPLST001.XPL"));
  playlist("VPLST000.XPL", oneTitle("LINKED.MAP"));
  const Disc found = readDisc(discPath());
  ASSERT_EQ(found.playlists.size(), 1u);
  EXPECT_FALSE(found.playlists[0].titles.at(0).clips.at(0).evo.has_value());
}

TEST_F(DiscFolderTest, AnUnreadablePlaylistKeepsItsErrorAndTheOthersAreRead) {
  playlist("VPLST001.XPL", std::string(16 * 1048576 + 1, ' '));
  const Disc found = readDisc(discPath());
  ASSERT_EQ(found.playlists.size(), 2u);
  EXPECT_EQ(found.boot, "VPLST000.XPL");
  EXPECT_EQ(found.playerBoot, "VPLST001.XPL");
  EXPECT_EQ(found.playlists[1].error, "Cannot open file \"" + discPath() +
                                          "/ADV_OBJ/VPLST001.XPL\". The playlist is larger "
                                          "than 16 MiB");
  EXPECT_TRUE(found.playlists[1].titles.empty());
}

TEST_F(DiscFolderTest, CountlessTitlesClipsAndTracksAreCut) {
  std::string titles = "<Playlist><TitleSet>";
  for (int n = 0; n < 1500; ++n)
    titles += "<Title id=\"t\"><PrimaryAudioVideoClip src=\"a\"/></Title>";
  playlist("VPLST000.XPL", titles);
  std::string clips = "<Playlist><TitleSet><Title id=\"many\">";
  for (int n = 0; n < 1500; ++n) {
    clips += "<PrimaryAudioVideoClip src=\"a\"><Audio track=\"" + std::to_string(n % 100 + 1) +
             "\" streamNumber=\"" + std::to_string(n % 70 + 1) + "\"/></PrimaryAudioVideoClip>";
  }
  playlist("VPLST001.XPL", clips + "</Title></TitleSet></Playlist>");
  const Disc found = readDisc(discPath());
  EXPECT_EQ(titleOf(found, "VPLST000.XPL", 1).clips.size(), 1u);
  EXPECT_EQ(found.playlists.at(1).titles.size(), 999u);
  const DiscTitle& many = titleOf(found, "VPLST001.XPL", 1);
  EXPECT_EQ(many.clips.size(), 999u);
  // Tracks and streams beyond 64 are no tracks.
  ASSERT_EQ(many.audio.size(), 64u);
  EXPECT_EQ(many.audio.back().track, 64);
  EXPECT_EQ(many.audio.front().streams.size(), 999u);
}

}  // namespace
}  // namespace tessaly::testing
