// tessaly-cli disc on the sample disc: its JSON read back with a JSON parser, its
// summary for a person, and a folder that is no disc.
#include <nlohmann/json.hpp>

#include "cli_run.h"

namespace tessaly::cli {
namespace {

using Json = nlohmann::json;

class DiscCliTest : public CliRunTest {
 protected:
  static void SetUpTestSuite() {
    sample = std::make_unique<testing::TempDir>();
    commandOutput("'" TESSALY_SAMPLE_DISC "' '" + sample->file("disc") + "' >/dev/null");
  }
  static void TearDownTestSuite() { sample.reset(); }
  static std::string disc() { return sample->file("disc"); }

  static std::unique_ptr<testing::TempDir> sample;
};

std::unique_ptr<testing::TempDir> DiscCliTest::sample;

std::vector<std::string> strings(const Json& list, const char* key) {
  std::vector<std::string> values;
  for (const Json& item : list) values.push_back(item.at(key).get<std::string>());
  return values;
}

TEST_F(DiscCliTest, JsonListsTheBootPlaylistFirstWithTheFeatureMarked) {
  const Outcome result = run({"disc", disc(), "--json"});
  ASSERT_EQ(result.status, 0) << result.err;
  const Json json = Json::parse(result.out);
  EXPECT_EQ(json.at("disc"), disc());
  // VPLST001.XPL, which the player boots, only selects a language.
  EXPECT_EQ(json.at("boot"), "VPLST000.XPL");
  EXPECT_EQ(json.at("player_boots"), "VPLST001.XPL");
  const Json& playlists = json.at("playlists");
  EXPECT_EQ(strings(playlists, "file"), (std::vector<std::string>{"VPLST000.XPL", "VPLST001.XPL"}));
  EXPECT_TRUE(playlists.at(1).at("titles").at(0).at("clips").empty());
  const Json& titles = playlists.at(0).at("titles");
  EXPECT_EQ(strings(titles, "id"),
            (std::vector<std::string>{"StudioLogo", "FeatureTitle", "MenuLoop"}));
  EXPECT_EQ(titles.at(2).at("number"), 7);
  // 4 s of logo and 6 s of menu are extras; 00:02:05:59 is 7559 counts of 1001/60000 s.
  EXPECT_EQ(titles.at(0).at("extra"), true);
  EXPECT_EQ(titles.at(2).at("extra"), true);
  EXPECT_EQ(titles.at(2).at("duration_ms"), 6006);
  const Json& feature = titles.at(1);
  EXPECT_EQ(feature.at("name"), "Tessaly: The Feature");
  EXPECT_EQ(feature.at("duration_ms"), 126109);
  EXPECT_EQ(feature.at("main"), true);
  EXPECT_EQ(feature.at("extra"), false);
  EXPECT_EQ(titles.at(0).at("main"), false);
}

TEST_F(DiscCliTest, JsonGivesTheFeaturesClipsChaptersAndTracks) {
  const Json feature =
      Json::parse(run({"disc", disc(), "--json"}).out).at("playlists").at(0).at("titles").at(1);
  const Json& clips = feature.at("clips");
  EXPECT_EQ(strings(clips, "evo"),
            (std::vector<std::string>{"FEATURE_1.EVO", "FEATURE_2.EVO", "WARNING.EVO"}));
  EXPECT_EQ(clips.at(0).at("map"), "FEATURE_1.MAP");
  // 4890, 7140 and 7440 counts on the title clock.
  const std::vector<std::array<std::int64_t, 2>> spans{
      {0, 81582}, {81582, 119119}, {119119, 124124}};
  for (std::size_t n = 0; n < spans.size(); ++n) {
    EXPECT_EQ(clips.at(n).at("title_begin_ms"), spans[n][0]) << n;
    EXPECT_EQ(clips.at(n).at("title_end_ms"), spans[n][1]) << n;
    EXPECT_EQ(clips.at(n).at("clip_begin_ms"), 0) << n;
  }
  EXPECT_EQ(clips.at(0).at("evo_size"),
            std::filesystem::file_size(disc() + "/HVDVD_TS/FEATURE_1.EVO"));
  EXPECT_EQ(clips.at(1).at("seamless"), true);
  EXPECT_EQ(clips.at(2).at("seamless"), false);
  EXPECT_EQ(strings(feature.at("chapters"), "name"),
            (std::vector<std::string>{"Opening", "Chapter 02", "Second Segment", "End Credits"}));
  EXPECT_EQ(feature.at("chapters").at(1).at("start_ms"), 27778);  // 1665 counts
  // The warning card carries the English track as stream 2 and no other.
  const Json& audio = feature.at("audio");
  ASSERT_EQ(audio.size(), 3u);
  EXPECT_EQ(audio.at(0).at("streams"), Json::parse("[1, 1, 2]"));
  EXPECT_EQ(audio.at(0).at("stream"), 1);
  EXPECT_EQ(audio.at(0).at("language"), "eng");
  EXPECT_EQ(audio.at(1).at("coding"), "MLP");
  EXPECT_EQ(audio.at(2).at("streams"), Json::parse("[3, 3, null]"));
  EXPECT_EQ(audio.at(2).at("language"), "ger");
  EXPECT_EQ(audio.at(2).at("flags"), Json::parse(R"(["commentary"])"));
  const Json& forced = feature.at("subtitles").at(2);
  EXPECT_EQ(forced.at("language"), "fre");
  EXPECT_EQ(forced.at("flags"), Json::parse(R"(["forced"])"));
  EXPECT_EQ(forced.at("coding"), "8bitRLC");
  EXPECT_EQ(forced.at("description"), "French Forced");
}

TEST_F(DiscCliTest, TheSummarySaysWhatBootsAndWhichTitleIsTheFeature) {
  const Outcome result = run({"disc", disc() + "/HVDVD_TS/FEATURE_2.EVO"});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto printed = lines(result.out);
  ASSERT_GE(printed.size(), 4u);
  EXPECT_EQ(printed[1],
            "Boot playlist VPLST000.XPL (the player boots VPLST001.XPL, which has no title with "
            "clips)");
  EXPECT_EQ(printed[2], "Main feature: title 2 Tessaly: The Feature");
  EXPECT_NE(result.out.find("  title 2  Tessaly: The Feature  0:02:06  MAIN FEATURE"),
            std::string::npos);
}

TEST_F(DiscCliTest, JsonSaysNullForWhatIsMissingAndKeepsAPlaylistsError) {
  fs::create_directories(in.file("disc/HVDVD_TS"));
  fs::create_directories(in.file("disc/ADV_OBJ"));
  testing::writeFile(in.file("disc/ADV_OBJ/VPLST000.XPL"),
                     std::string(R"(<Playlist><TitleSet><Title id="Gone" titleDuration="late">
<PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/GONE.MAP" titleTimeBegin="00:00:00:00"
 titleTimeEnd="never"><Audio track="2" streamNumber="5" mediaAttr="9"/></PrimaryAudioVideoClip>
</Title></TitleSet></Playlist>)"));
  fs::create_directory(in.file("disc/ADV_OBJ/VPLST001.XPL"));  // a folder is no playlist
  testing::writeFile(in.file("disc/ADV_OBJ/VPLST002.XPL"), std::string(16 * 1048576 + 1, ' '));
  const Outcome result = run({"disc", in.file("disc"), "--json"});
  ASSERT_EQ(result.status, 0) << result.err;
  const Json json = Json::parse(result.out);
  EXPECT_EQ(json.at("boot"), "VPLST000.XPL");
  EXPECT_EQ(json.at("player_boots"), "VPLST002.XPL");
  const Json& playlists = json.at("playlists");
  ASSERT_EQ(playlists.size(), 2u);
  EXPECT_FALSE(playlists.at(0).contains("error"));
  EXPECT_NE(playlists.at(1).at("error").get<std::string>().find("larger than 16 MiB"),
            std::string::npos);
  const Json& title = playlists.at(0).at("titles").at(0);
  EXPECT_EQ(title.at("name"), "Gone");  // the id without a displayName
  EXPECT_EQ(title.at("duration_ms"), nullptr);
  EXPECT_EQ(title.at("main"), false);
  EXPECT_EQ(title.at("extra"), false);
  const Json& clip = title.at("clips").at(0);
  EXPECT_EQ(clip.at("evo"), nullptr);
  EXPECT_EQ(clip.at("evo_size"), nullptr);
  EXPECT_EQ(clip.at("title_begin_ms"), 0);
  EXPECT_EQ(clip.at("title_end_ms"), nullptr);
  const Json& track = title.at("audio").at(0);
  EXPECT_EQ(track.at("track"), 2);
  EXPECT_EQ(track.at("stream"), 5);
  EXPECT_EQ(track.at("coding"), "");
  EXPECT_EQ(track.at("language"), nullptr);
  EXPECT_EQ(track.at("flags"), Json::array());
}

TEST_F(DiscCliTest, AFolderWithoutHvdvdTsFailsWithItsReason) {
  const Outcome result = run({"disc", in.path()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("no HVDVD_TS folder in it or above it"), std::string::npos);
}

}  // namespace
}  // namespace tessaly::cli
