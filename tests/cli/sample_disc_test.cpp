// The sample disc as a player and its playlist see it: every EVO decodes with ffmpeg
// without an error, alone and with the feature's two segments joined; the feature's clips
// hold the pictures of their spans on the title clock, their time stamps going on across
// the seamless split and starting again in the warning card.
#include <nlohmann/json.hpp>

#include "cli_run.h"

namespace tessaly::cli {
namespace {

using Json = nlohmann::json;

// What ffmpeg says while it decodes the video and every audio stream: nothing when the
// streams are whole.
std::string decodeErrors(const std::string& input) {
  return commandOutput("ffmpeg -v error -nostdin -i '" + input +
                       "' -map 0:v -map 0:a -f null - 2>&1");
}

struct Video {
  double start = 0;  // seconds
  int pictures = 0;
};

// The first time stamp and the pictures of an EVO's video, as ffprobe reads them.
Video videoOf(const std::string& evo) {
  const Json probe =
      Json::parse(commandOutput("ffprobe -v quiet -select_streams v:0 -count_packets -show_entries "
                                "stream=start_time,nb_read_packets -of json '" +
                                evo + "'"));
  const Json& stream = probe.at("streams").at(0);
  return {std::stod(stream.at("start_time").get<std::string>()),
          std::stoi(stream.at("nb_read_packets").get<std::string>())};
}

class SampleDiscTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = std::make_unique<testing::TempDir>();
    commandOutput("'" TESSALY_SAMPLE_DISC "' '" + dir->file("disc") + "' >/dev/null");
  }
  static void TearDownTestSuite() { dir.reset(); }
  static std::string evo(const std::string& name) {
    return dir->file("disc/HVDVD_TS/" + name + ".EVO");
  }

  static std::unique_ptr<testing::TempDir> dir;
};

std::unique_ptr<testing::TempDir> SampleDiscTest::dir;

TEST_F(SampleDiscTest, EveryEvoDecodesWithoutAnErrorAloneAndTheFeatureJoined) {
  for (const std::string name : {"STUDIO_LOGO", "FEATURE_1", "FEATURE_2", "WARNING", "MENU_LOOP"}) {
    EXPECT_EQ(decodeErrors(evo(name)), "") << name;
  }
  const std::string joined = dir->file("joined.EVO");
  commandOutput("cat '" + evo("FEATURE_1") + "' '" + evo("FEATURE_2") + "' >'" + joined + "'");
  EXPECT_EQ(decodeErrors(joined), "");
}

TEST_F(SampleDiscTest, TheFeaturesClipsHoldTheirSpansOfTheTitleClock) {
  // VPLST000.XPL's clips of the feature, in counts of 1001/60000 s (00:01:21:30 is
  // 81 * 60 + 30 = 4890); a picture at 24000/1001 fps lasts 2.5 counts.
  struct Clip {
    std::string name;
    int begin;
    int end;
    std::string times;
  };
  const std::vector<Clip> clips{
      {"FEATURE_1", 0, 4890, R"(titleTimeBegin="00:00:00:00" titleTimeEnd="00:01:21:30")"},
      {"FEATURE_2", 4890, 7140, R"(titleTimeBegin="00:01:21:30" titleTimeEnd="00:01:59:00")"},
      {"WARNING", 7140, 7440, R"(titleTimeBegin="00:01:59:00" titleTimeEnd="00:02:04:00")"}};
  const std::string playlist = testing::textOf(dir->file("disc/ADV_OBJ/VPLST000.XPL"));
  std::map<std::string, Video> video;
  for (const Clip& clip : clips) {
    SCOPED_TRACE(clip.name);
    EXPECT_NE(playlist.find(clip.name + ".MAP\" " + clip.times), std::string::npos);
    video[clip.name] = videoOf(evo(clip.name));
    EXPECT_EQ(video[clip.name].pictures * 5, (clip.end - clip.begin) * 2);
  }
  EXPECT_GT(video["FEATURE_1"].start, 0);  // as on real discs, no EVO starts at PTS 0
  EXPECT_NEAR(video["FEATURE_2"].start - video["FEATURE_1"].start, 4890 * 1001 / 60000.0, 1e-4);
  EXPECT_EQ(video["WARNING"].start, video["FEATURE_1"].start);
}

// A file of some of the title's clips gets only their chapters, the first clip read at 0:
// FEATURE_2 starts at the "Second Segment"; FEATURE_1 goes on into FEATURE_2 and keeps
// every chapter up to its end; the warning card after them has none.
TEST_F(SampleDiscTest, ChaptersFollowTheClipsThatWereRead) {
  const std::string xpl = dir->file("disc/ADV_OBJ/VPLST000.XPL");
  const auto xplChapters = [&](const std::string& name) {
    const std::string file = dir->file(name + ".chapters.txt");
    const Outcome r =
        testing::runChild(TESSALY_CLI, {"xpl", xpl, "--evo", evo(name), "--chapters", file}, *dir);
    return r.status == 0 ? testing::textOf(file)
                         : "exit " + std::to_string(r.status) + ": " + r.err;
  };
  EXPECT_EQ(xplChapters("FEATURE_2"),
            "CHAPTER01=00:00:00.000\nCHAPTER01NAME=Second Segment\n"
            "CHAPTER02=00:00:31.448\nCHAPTER02NAME=End Credits\n");
  EXPECT_EQ(xplChapters("FEATURE_1"),
            "CHAPTER01=00:00:00.000\nCHAPTER01NAME=Opening\n"
            "CHAPTER02=00:00:27.778\nCHAPTER02NAME=Chapter 02\n"
            "CHAPTER03=00:01:21.582\nCHAPTER03NAME=Second Segment\n"
            "CHAPTER04=00:01:53.030\nCHAPTER04NAME=End Credits\n");
  EXPECT_EQ(xplChapters("WARNING").rfind("exit 1: ", 0), 0u);

  // The Matroska file of FEATURE_2 alone: its chapter file, written with mkvmerge's call.
  const std::string out = dir->file("mkv/");
  const Outcome r =
      testing::runChild(TESSALY_CLI,
                        {"demux", evo("FEATURE_2"), "--xpl", xpl, "--out", out, "--mkv",
                         out + "film.mkv", "--mkvmerge-options", out + "call.json"},
                        *dir);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string chapters = testing::textOf(out + "FEATURE_2.chapters.xml");
  EXPECT_EQ(chapters.find("Opening"), std::string::npos);
  const auto second = chapters.find("Second Segment");
  ASSERT_NE(second, std::string::npos);
  EXPECT_NE(chapters.rfind("<ChapterTimeStart>00:00:00.000</ChapterTimeStart>", second),
            std::string::npos);
  EXPECT_NE(chapters.find("<ChapterTimeStart>00:00:31.448</ChapterTimeStart>"), std::string::npos);
}

}  // namespace
}  // namespace tessaly::cli
