// The sample disc's timed subpictures read by the tools they are made for: the timings of
// both segments against the PES time stamps, ffprobe and mkvmerge on the VobSub pair.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

#include "support/child_process.h"
#include "support/timed_units.h"
#include "tools/sample_captions.h"

namespace tessaly::testing {
namespace {

const std::string kSubs = "FEATURE_1.Subpicture.00";  // English, DVD-style units
const std::string kHdSup = "FEATURE_1.Subpicture.01.sup";

// "key=value" lines, as ffprobe's default writer without section names prints them,
// in order.
std::vector<std::pair<std::string, std::string>> fields(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> result;
  for (const std::string& line : lines(text)) {
    const auto equals = line.find('=');
    if (equals != std::string::npos)
      result.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  return result;
}

std::vector<std::string> valuesOf(const std::string& text, const std::string& key) {
  std::vector<std::string> values;
  for (const auto& [k, v] : fields(text)) {
    if (k == key) values.push_back(v);
  }
  return values;
}

// The sample disc, demuxed once with timed subpictures.
class TimedSubpicturesPeersTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = std::make_unique<TempDir>();
    const ChildRun made = runChild(TESSALY_SAMPLE_DISC, {dir->file("disc")}, *dir);
    ASSERT_EQ(made.status, 0) << made.err;
    std::filesystem::create_directory(dir->file("streams"));
    demuxed = runChild(TESSALY_CLI,
                       {"demux", evo(1), "--no-xpl", "--out", dir->file("streams"), "--select",
                        "cbSub00,cbSub01", "--subpictures", "timed"},
                       *dir);
  }
  static void TearDownTestSuite() { dir.reset(); }

  static std::string evo(int segment) {
    return dir->file("disc/HVDVD_TS/FEATURE_" + std::to_string(segment) + ".EVO");
  }
  static std::string out(const std::string& name) { return dir->file("streams/" + name); }

  // The units of both segments for one stream-table slot.
  static std::vector<TimedUnit> units(int slot) {
    auto all = streamUnits(evo(1), slot);
    const auto second = streamUnits(evo(2), slot);
    all.insert(all.end(), second.begin(), second.end());
    return all;
  }

  static std::size_t captions(int stream) {
    return static_cast<std::size_t>(
        std::count_if(tools::kSampleCaptions.begin(), tools::kSampleCaptions.end(),
                      [stream](const tools::SampleCaption& c) { return c.stream == stream; }));
  }

  ChildRun run(const std::string& name, const std::vector<std::string>& args) {
    return runChild(program(name), args, logs);
  }

  static std::unique_ptr<TempDir> dir;
  static ChildRun demuxed;
  TempDir logs;
};

std::unique_ptr<TempDir> TimedSubpicturesPeersTest::dir;
ChildRun TimedSubpicturesPeersTest::demuxed;

TEST_F(TimedSubpicturesPeersTest, BothSegmentsTimingsMatchThePesTimeStamps) {
  ASSERT_EQ(demuxed.status, 0) << demuxed.err;
  const auto log = lines(demuxed.out);
  for (const std::string& name : {kSubs + ".idx", kSubs + ".sub", kHdSup}) {
    EXPECT_NE(std::find(log.begin(), log.end(), "Creating " + out(name)), log.end()) << name;
  }
  const auto video = streamUnits(evo(1), 1);
  ASSERT_FALSE(video.empty());
  const std::uint64_t origin =
      std::min_element(video.begin(), video.end(), [](const auto& a, const auto& b) {
        return a.pts < b.pts;
      })->pts;

  const auto dvd = units(33);
  ASSERT_EQ(dvd.size(), captions(0));
  const auto entries = indexEntries(textOf(out(kSubs + ".idx")));
  ASSERT_EQ(entries.size(), dvd.size());
  for (std::size_t i = 0; i < dvd.size(); ++i) {
    EXPECT_EQ(entries[i].ms, msAfter(origin, dvd[i].pts)) << i;
  }

  const auto hd = units(34);
  ASSERT_EQ(hd.size(), captions(1));
  const auto frames = supFrames(readFile(out(kHdSup)));
  ASSERT_EQ(frames.size(), hd.size());
  for (std::size_t i = 0; i < hd.size(); ++i) {
    EXPECT_EQ(frames[i], (TimedUnit{hd[i].pts & 0xFFFFFFFF, hd[i].bytes})) << i;
  }
}

// ffprobe: a dvd_subtitle stream, one packet per unit, the first at the index's time;
// every unit decodes to one picture shown for its caption's duration (in the format's
// steps of 1024 ticks).
TEST_F(TimedSubpicturesPeersTest, FfprobeReadsTheVobSubPair) {
  ASSERT_EQ(demuxed.status, 0) << demuxed.err;
  const std::string idx = out(kSubs + ".idx");
  const ChildRun probe = run(
      "ffprobe", {"-v", "error", "-count_packets", "-show_entries",
                  "stream=codec_name,nb_read_packets:packet=pts_time", "-of", "default=nw=1", idx});
  ASSERT_EQ(probe.status, 0) << probe.err;
  EXPECT_EQ(valuesOf(probe.out, "codec_name"), std::vector<std::string>{"dvd_subtitle"});
  EXPECT_EQ(valuesOf(probe.out, "nb_read_packets"),
            std::vector<std::string>{std::to_string(captions(0))});
  const auto times = valuesOf(probe.out, "pts_time");
  ASSERT_FALSE(times.empty());
  const auto entries = indexEntries(textOf(idx));
  ASSERT_FALSE(entries.empty());
  EXPECT_NEAR(std::stod(times.front()) * 1000, static_cast<double>(entries.front().ms), 1.0);

  const ChildRun frames =
      run("ffprobe", {"-v", "error", "-show_frames", "-show_entries",
                      "subtitle=end_display_time,num_rects", "-of", "default=nw=1", idx});
  ASSERT_EQ(frames.status, 0) << frames.err;
  std::vector<std::string> shown;
  for (const auto& c : tools::kSampleCaptions) {
    if (c.stream == 0)
      shown.push_back(std::to_string((c.durationMs * 90 + 512) / 1024 * 1024 / 90));
  }
  EXPECT_EQ(valuesOf(frames.out, "end_display_time"), shown);
  EXPECT_EQ(valuesOf(frames.out, "num_rects"), std::vector<std::string>(captions(0), "1"));
}

TEST_F(TimedSubpicturesPeersTest, MkvmergeMuxesTheVobSubPair) {
  ASSERT_EQ(demuxed.status, 0) << demuxed.err;
  const std::string mkv = logs.file("subs.mkv");
  const ChildRun mux = run("mkvmerge", {"-o", mkv, out(kSubs + ".idx")});
  ASSERT_EQ(mux.status, 0) << mux.out << mux.err;
  const ChildRun identify = run("mkvmerge", {"-J", mkv});
  ASSERT_EQ(identify.status, 0) << identify.err;
  EXPECT_NE(identify.out.find("\"codec\": \"VobSub\""), std::string::npos) << identify.out;
}

}  // namespace
}  // namespace tessaly::testing
