// Stream timing against ffprobe: on both segments of the sample disc (real bitstreams,
// the commentary a second late, the second segment's audio starting on its first whole
// frame), every stream's delay_ms from scan --json equals the difference of ffprobe's
// start_time to the video's.
#include <cmath>
#include <nlohmann/json.hpp>

#include "cli_run.h"

namespace tessaly::cli {
namespace {

using Json = nlohmann::json;

// ffprobe's id of a stream that our report names by `id`: the PES stream id of video
// (0x1e0), the sub-stream id in private stream 1 (0xc2).
std::string ffprobeId(const std::string& kind, const std::string& id) {
  std::string lower = id;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return kind == "video" ? "0x1" + lower.substr(2) : lower;
}

// ffprobe's start_time of every stream, by its id; read far enough to find the forced
// captions, whose first unit comes late.
std::map<std::string, double> startTimes(const std::string& evo) {
  const Json probe = Json::parse(commandOutput(
      "ffprobe -v quiet -analyzeduration 200M -probesize 100M -show_entries stream=id,start_time "
      "-of json '" +
      evo + "'"));
  std::map<std::string, double> starts;
  for (const Json& stream : probe.at("streams")) {
    if (stream.contains("start_time")) {
      starts[stream.at("id")] = std::stod(stream.at("start_time").get<std::string>());
    }
  }
  return starts;
}

using TimingOracleTest = CliRunTest;

TEST_F(TimingOracleTest, DelaysAgreeWithFfprobeStartTimes) {
  commandOutput("'" TESSALY_SAMPLE_DISC "' '" + in.file("disc") + "' >/dev/null");
  std::map<std::string, std::int64_t> commentary;
  for (const std::string segment : {"FEATURE_1.EVO", "FEATURE_2.EVO"}) {
    SCOPED_TRACE(segment);
    const std::string evo = in.file("disc/HVDVD_TS/" + segment);
    const Outcome r = run({"scan", evo, "--json", "--full"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Json report = Json::parse(r.out);
    const auto starts = startTimes(evo);
    const double video = starts.at("0x1e0");
    std::size_t compared = 0;
    for (const Json& stream : report.at("streams")) {
      const std::string id = ffprobeId(stream.at("kind"), stream.at("ids").at(0));
      SCOPED_TRACE(id);
      ASSERT_TRUE(starts.count(id));
      EXPECT_EQ(stream.at("delay_ms").get<std::int64_t>(),
                std::llround((starts.at(id) - video) * 1000));
      EXPECT_NEAR(stream.at("first_pts").get<double>() / 90000, starts.at(id), 1e-6);
      ++compared;
      if (id == "0xc2") commentary[segment] = stream.at("delay_ms");
    }
    EXPECT_EQ(compared, 7u);  // video, three audio and three subpicture streams
  }
  EXPECT_EQ(commentary.at("FEATURE_1.EVO"), 1000);  // the later-starting audio
}

}  // namespace
}  // namespace tessaly::cli
