// `--subpictures pgs` on the sample disc: the French HD captions of both segments as
// presentation graphics, muxed by mkvmerge and decoded by ffmpeg, against the units read
// by the tests' own reader; the English DVD-style units stay VobSub.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "support/pgs_oracle.h"
#include "support/timed_units.h"
#include "tools/sample_captions.h"

namespace tessaly::testing {
namespace {

TEST(PgsOutputTest, SampleDiscHdCaptionsDecodeAsTheirUnitsShowThem) {
  TempDir dir;
  const ChildRun made = runChild(TESSALY_SAMPLE_DISC, {dir.file("disc")}, dir);
  ASSERT_EQ(made.status, 0) << made.err;
  const auto evo = [&](int n) {
    return dir.file("disc/HVDVD_TS/FEATURE_" + std::to_string(n) + ".EVO");
  };
  std::filesystem::create_directory(dir.file("streams"));
  const ChildRun demux = runChild(TESSALY_CLI,
                                  {"demux", evo(1), "--no-xpl", "--out", dir.file("streams"),
                                   "--select", "cbSub00,cbSub01", "--subpictures", "pgs"},
                                  dir);
  ASSERT_EQ(demux.status, 0) << demux.err;
  const auto log = lines(demux.out);
  for (const char* name : {"FEATURE_1.Subpicture.00.idx", "FEATURE_1.Subpicture.00.sub",
                           "FEATURE_1.Subpicture.01.pgs.sup"}) {
    const std::string line = "Creating " + dir.file("streams/") + name;
    EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("streams/FEATURE_1.Subpicture.01.sup")));

  const std::string mkv = dir.file("captions.mkv");
  const std::string identified =
      muxPgs(dir.file("streams/FEATURE_1.Subpicture.01.pgs.sup"), mkv, dir);
  EXPECT_NE(identified.find("\"codec_id\": \"S_HDMV/PGS\""), std::string::npos) << identified;

  // Every step of every unit of both segments, timed after video 0's first time stamp.
  const auto video = streamUnits(evo(1), 1);
  ASSERT_FALSE(video.empty());
  const std::uint64_t origin = std::min_element(video.begin(), video.end(), [](auto& a, auto& b) {
                                 return a.pts < b.pts;
                               })->pts;
  auto units = streamUnits(evo(1), 34);
  const auto second = streamUnits(evo(2), 34);
  units.insert(units.end(), second.begin(), second.end());
  const auto french = std::count_if(tools::kSampleCaptions.begin(), tools::kSampleCaptions.end(),
                                    [](const auto& c) { return c.stream == 1; });
  ASSERT_EQ(units.size(), static_cast<std::size_t>(french));
  std::vector<double> times;
  std::vector<DecodedSubtitle> expected;
  std::vector<Canvas> pictures;
  for (const TimedUnit& unit : units) {
    for (const ReferenceStep& step : HdReference(unit.bytes).steps()) {
      const std::uint64_t ticks =
          ((unit.pts - origin) & ((std::uint64_t{1} << 33) - 1)) + step.ticks;
      times.push_back(static_cast<double>(ticks) / 90);
      expected.push_back({std::llround(times.back()), step.picture ? 1 : 0});
      if (step.picture) pictures.push_back(canvasOf(*step.picture));
    }
  }
  const auto decoded = decodedSubtitles(mkv, dir);
  ASSERT_EQ(decoded.size(), expected.size());
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    EXPECT_NEAR(static_cast<double>(decoded[i].ms), times[i], 1.0) << i;
    EXPECT_EQ(decoded[i].rects, expected[i].rects) << i;
  }
  const auto drawn = drawnCanvases(mkv, dir);
  ASSERT_EQ(drawn.size(), pictures.size());
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    EXPECT_EQ(canvasDifference(drawn[i], pictures[i]), "") << "caption " << i;
  }
}

}  // namespace
}  // namespace tessaly::testing
