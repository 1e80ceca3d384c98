// tessaly-cli title --mkv on the sample disc, its folder and its image: one Matroska file
// with every track of the feature, named, flagged and with its language as the playlist
// gives them, the title's name, the chapters on the disc clock, the captions of the second
// clip on the title's time line, and nothing that ffmpeg cannot decode.
#include <nlohmann/json.hpp>

#include <cmath>

#include "cli_run.h"
#include "tools/sample_layout.h"

namespace tessaly::cli {
namespace {

using Json = nlohmann::json;
namespace sample = tools::sample;

// Milliseconds of a playlist time HH:MM:SS:FF on the 60fps clock.
double playlistMs(int h, int m, int s, int ff) {
  return sample::seconds(((h * 60 + m) * 60 + s) * 60 + ff) * 1000;
}

// The times in seconds of the packets of subtitle stream `n`, as ffprobe reads them.
std::vector<double> subtitleTimes(const std::string& mkv, int n) {
  std::vector<double> times;
  for (const std::string& line :
       lines(commandOutput("ffprobe -v quiet -select_streams s:" + std::to_string(n) +
                           " -show_entries packet=pts_time -of csv=p=0 '" + mkv + "'"))) {
    if (!line.empty()) times.push_back(std::stod(line));
  }
  return times;
}

bool shownNear(const std::vector<double>& times, double seconds) {
  return std::any_of(times.begin(), times.end(),
                     [seconds](double t) { return std::abs(t - seconds) < 0.002; });
}

class TitleMatroskaTest : public CliRunTest {
 protected:
  static void SetUpTestSuite() {
    sample = std::make_unique<testing::TempDir>();
    commandOutput("'" TESSALY_SAMPLE_DISC "' '" + sample->file("disc") + "' >/dev/null");
  }
  static void TearDownTestSuite() { sample.reset(); }

  // Makes the film of `source`; its mkvmerge -J description.
  Json film(const std::string& source, const std::string& folder) {
    const std::string mkv = out.file(folder + "/film.mkv");
    fs::create_directory(out.file(folder));
    const Outcome result = run({"title", source, "--out", out.file(folder), "--mkv", mkv});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(commandOutput("ffmpeg -v error -nostdin -i '" + mkv + "' -f null - 2>&1"), "");
    return Json::parse(commandOutput("mkvmerge -J '" + mkv + "'"));
  }

  static std::unique_ptr<testing::TempDir> sample;
};

std::unique_ptr<testing::TempDir> TitleMatroskaTest::sample;

struct Track {
  std::string codec;
  std::string language;
  std::string name;
  bool isDefault;
  bool forced;
  bool commentary;
};

void expectTracks(const Json& identified) {
  const std::vector<Track> expected{{"MPEG-1/2", "eng", "MPEG-2", true, false, false},
                                    {"E-AC-3", "eng", "English", true, false, false},
                                    {"TrueHD", "eng", "English lossless", false, false, false},
                                    {"E-AC-3", "ger", "Commentary", false, false, true},
                                    {"VobSub", "eng", "English", false, false, false},
                                    {"HDMV PGS", "fre", "French", false, false, false},
                                    {"HDMV PGS", "fre", "French Forced", true, true, false}};
  const Json& tracks = identified.at("tracks");
  ASSERT_EQ(tracks.size(), expected.size()) << identified.dump(1);
  for (std::size_t n = 0; n < expected.size(); ++n) {
    const Json& p = tracks[n].at("properties");
    const Track& want = expected[n];
    SCOPED_TRACE(want.name);
    EXPECT_NE(tracks[n].at("codec").get<std::string>().find(want.codec), std::string::npos)
        << tracks[n].at("codec");
    EXPECT_EQ(p.at("language"), want.language);
    EXPECT_EQ(p.at("track_name"), want.name);
    EXPECT_EQ(p.at("default_track"), want.isDefault);
    EXPECT_EQ(p.at("forced_track"), want.forced);
    EXPECT_EQ(p.value("flag_commentary", false), want.commentary);
  }
}

void expectChaptersAndLength(const std::string& mkv, const Json& identified) {
  EXPECT_EQ(identified.at("container").at("properties").at("title"), "Tessaly: The Feature");
  const Json probe =
      Json::parse(commandOutput("ffprobe -v quiet -show_chapters -of json '" + mkv + "'"));
  const std::vector<double> starts{playlistMs(0, 0, 0, 0), playlistMs(0, 0, 27, 45),
                                   sample::seconds(sample::kFeature1Counts) * 1000,
                                   playlistMs(0, 1, 52, 55)};
  ASSERT_EQ(probe.at("chapters").size(), starts.size());
  for (std::size_t n = 0; n < starts.size(); ++n) {
    const double ms = std::stod(probe["chapters"][n].at("start_time").get<std::string>()) * 1000;
    EXPECT_NEAR(ms, starts[n], 1.0) << "chapter " << n + 1;
  }
  const double clips =
      sample::seconds(sample::kFeature1Counts + sample::kFeature2Counts + sample::kWarningCounts);
  const double seconds =
      identified.at("container").at("properties").at("duration").get<double>() / 1e9;
  EXPECT_NEAR(seconds, clips, 1001.0 / 24000);
}

// The second clip's captions count from its own first picture: on the title they come
// FEATURE_1's length later (sample captions: "WELCOME TO PART TWO." 1 s into it, DVD-style;
// "FERME LE DIMANCHE." 12 s into it, forced HD).
void expectSecondClipCaptions(const std::string& mkv) {
  const double second = sample::seconds(sample::kFeature1Counts);
  EXPECT_TRUE(shownNear(subtitleTimes(mkv, 0), second + 1.0));
  EXPECT_TRUE(shownNear(subtitleTimes(mkv, 2), second + 12.0));
  EXPECT_TRUE(shownNear(subtitleTimes(mkv, 2), 9.0));  // the first clip's stay where they were
}

TEST_F(TitleMatroskaTest, TheFeatureBecomesOneFilmFromTheFolderAndFromTheImage) {
  std::vector<std::pair<std::string, std::string>> sources{{sample->file("disc"), "folder"}};
#ifdef TESSALY_UDF_IMAGE
  commandOutput("'" TESSALY_UDF_IMAGE "' '" + sample->file("disc") + "' '" +
                sample->file("sample.iso") + "'");
  sources.emplace_back(sample->file("sample.iso"), "image");
#endif
  for (const auto& [source, folder] : sources) {
    SCOPED_TRACE(source);
    const Json identified = film(source, folder);
    const std::string mkv = out.file(folder + "/film.mkv");
    expectTracks(identified);
    expectChaptersAndLength(mkv, identified);
    expectSecondClipCaptions(mkv);
    // The streams went into the film: only it is left.
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(out.file(folder))) {
      left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{"film.mkv"});
  }
}

TEST_F(TitleMatroskaTest, TheFilmIsNeverAnInputNorMadeOfATitleWithoutClips) {
  const std::string evo = sample->file("disc/HVDVD_TS/FEATURE_1.EVO");
  const Outcome onEvo = run({"title", sample->file("disc"), "--out", out.path(), "--mkv", evo});
  EXPECT_EQ(onEvo.status, 1);
  EXPECT_NE(onEvo.err.find("It is one of the input files."), std::string::npos) << onEvo.err;
  const Outcome noClips = run({"title", sample->file("disc"), "1", "--playlist", "VPLST001.XPL",
                               "--out", out.path(), "--mkv", out.file("film.mkv")});
  EXPECT_NE(noClips.err.find("has no clips"), std::string::npos) << noClips.err;
  EXPECT_TRUE(fs::is_empty(out.path()));
}

}  // namespace
}  // namespace tessaly::cli
