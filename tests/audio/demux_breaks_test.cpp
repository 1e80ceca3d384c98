// The breaks end to end through `tessaly-cli demux --mkv --report`, on discs the tests
// build from ffmpeg's E-AC-3: the warnings as the operator reads them, the report's
// `breaks`, and the film read back by ffprobe with every audio packet within 1 ms of its
// disc time; a gap of 480 ms and an overlap of 100 ms in one segment, a gap in LPCM (whose
// film form is WAV), and a second segment whose time base starts again, which leaves the
// first segment's audio where it was.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "disc_audio.h"
#include "support/child_process.h"
#include "timing_harness.h"

namespace tessaly::testing {
namespace {

using Json = nlohmann::json;
using tools::Stream;

class DemuxBreaksTest : public ::testing::Test {
 protected:
  // demux with --mkv and --report on `evo`: its standard output, and the film's packets.
  std::string demux(const std::string& evo, std::vector<std::string> more = {}) {
    std::vector<std::string> args{"demux", evo,     "--select", "audio0",   "--out",
                                  out,     "--mkv", film,       "--report", report};
    args.insert(args.end(), more.begin(), more.end());
    const ChildRun run = runChild(TESSALY_CLI, args, dir);
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    return run.out;
  }
  Json breaks() const {
    const Json streams = Json::parse(readText(report)).at("streams");
    for (const Json& s : streams) {
      if (s.at("kind") == "audio") return s.at("breaks");
    }
    return nullptr;
  }
  // Every packet of the film at the time of the unit it plays, in order.
  void expectPlayedAt(const std::vector<double>& played) {
    testing::expectPlayedAt(probePackets(film, dir), played);
  }
  static std::string readText(const std::string& file) {
    const Bytes bytes = readFile(file);
    return {bytes.begin(), bytes.end()};
  }

  TempDir dir;
  std::string out = dir.file("films");
  std::string film = dir.file("films/film.mkv");
  std::string report = dir.file("films/report.json");
};

TEST_F(DemuxBreaksTest, GapAndOverlapAreSaidAndEveryFramePlaysAtItsTime) {
  const Clip clip = encodeClip("eac3", "eac3", 6, 8, dir);
  std::vector<Unit> units = packetUnits(clip);
  placeOnDisc(units);
  writeEvo(Stream::ddPlus(0), clip, units, dir.file("FEATURE_1.EVO"));

  const std::string log = demux(dir.file("FEATURE_1.EVO"), {"--keep-streams"});
  std::vector<std::string> warnings;
  for (const std::string& line : lines(log)) {
    if (line.rfind("Warning:", 0) == 0) warnings.push_back(line);
  }
  EXPECT_EQ(warnings,
            (std::vector<std::string>{
                "Warning: audio stream 0 (DD+) has a gap of 480 ms at 0:00:04.000; the Matroska "
                "file keeps it.",
                "Warning: audio stream 0 (DD+) has an overlap of 100 ms at 0:00:06.752; 3 frames "
                "left out."}));
  EXPECT_EQ(breaks(), Json::parse(R"([{"at_ms": 4000, "jump_ms": 480, "frames_dropped": 0},
                                      {"at_ms": 6752, "jump_ms": -100, "frames_dropped": 3}])"));
  const std::vector<double> played = playedSeconds(units);
  EXPECT_EQ(units.size() - played.size(), 3u);
  expectPlayedAt(played);
  // The raw output as the disc has it; the parts' files gone with the step.
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(out)) {
    left.push_back(entry.path().filename());
  }
  std::sort(left.begin(), left.end());
  ASSERT_EQ(left,
            (std::vector<std::string>{"FEATURE_1.DD+.stream.00.mpa", "film.mkv", "report.json"}));
  EXPECT_EQ(readFile(dir.file("films/FEATURE_1.DD+.stream.00.mpa")), clip.bytes);
}

// The option file's call keeps the breaks too: its parts' files stay beside it, and
// `mkvmerge @FILE.json` makes the film that --mkv makes (it put the track in whole).
TEST_F(DemuxBreaksTest, TheOptionFilesCallKeepsTheBreaks) {
  const Clip clip = encodeClip("eac3", "eac3", 6, 8, dir);
  std::vector<Unit> units = packetUnits(clip);
  placeOnDisc(units);
  writeEvo(Stream::ddPlus(0), clip, units, dir.file("FEATURE_1.EVO"));

  const std::string call = dir.file("films/call.json");
  const std::string log = demux(dir.file("FEATURE_1.EVO"), {"--mkvmerge-options", call});
  EXPECT_NE(
      log.find("Writing the audio parts that call.json reads into " + dir.file("films/call.parts")),
      std::string::npos)
      << log;
  EXPECT_FALSE(std::filesystem::exists(film));
  const ChildRun run = runChild(program("mkvmerge"), {"@" + call}, dir);
  ASSERT_EQ(run.status, 0) << run.out;
  expectPlayedAt(playedSeconds(units));
}

// LPCM goes into the film as WAV: the gap stays in it too, the WAV cut at the gap into
// parts of their own header (it played on, 480 ms early from there, when the WAV went in
// whole).
TEST_F(DemuxBreaksTest, AnLpcmGapStaysInTheFilmsWav) {
  const Clip clip = encodeClip("pcm_s16be", "s16be", 2, 6, dir,
                               {"-f", "s16be", "-sample_rate", "48000", "-ch_layout", "stereo"});
  std::vector<Unit> units;
  for (std::uint64_t at = 0; at + kPiece <= clip.bytes.size(); at += kPiece) {
    units.push_back({at, kPiece, sampleUnits(kPiece / 4, 48000)});
  }
  placeOnDisc(units, kDelay, false);
  for (Unit& u : units) {
    if (u.time >= kDelay + 3744 * kMs) u.time += kGap;
  }
  writeEvo(Stream::lpcm(0), clip, units, dir.file("FEATURE_1.EVO"));

  const std::string log = demux(dir.file("FEATURE_1.EVO"));
  EXPECT_NE(log.find("Warning: audio stream 0 (LPCM) has a gap of 480 ms at 0:00:04.006; the "
                     "Matroska file keeps it."),
            std::string::npos)
      << log;
  double worst = 0;
  std::uint64_t at = 0;  // 16-bit WAV samples take the bytes they took on the disc
  for (const MkvPacket& p : probePackets(film, dir)) {
    worst = std::max(worst, std::abs(p.seconds - discSeconds(units, at)));
    at += p.size;
  }
  EXPECT_EQ(at, units.back().offset + units.back().size) << "every sample in the film";
  EXPECT_LE(worst, 0.001 + 1e-9) << "seconds off the disc time";
}

TEST_F(DemuxBreaksTest, SecondSegmentOnANewTimeBaseLeavesTheFirstWhereItWas) {
  const Clip clip = encodeClip("eac3", "eac3", 6, 3.5, dir);
  std::vector<Unit> first = packetUnits(clip);
  placeOnDisc(first, kDelay, false);
  writeEvo(Stream::ddPlus(0), clip, first, dir.file("FEATURE_1.EVO"), 100);
  // The second segment's video starts again at one second; its audio 100 ms after it.
  std::vector<Unit> second = packetUnits(clip);
  placeOnDisc(second, 100 * kMs, false);
  writeEvo(Stream::ddPlus(0), clip, second, dir.file("FEATURE_2.EVO"), 100, 90000);

  demux(dir.file("FEATURE_1.EVO"));
  // On the film's time line the second segment starts where the first one's video ends.
  const std::int64_t firstEnd = first.back().time + first.back().duration;
  std::vector<Unit> both = first;
  for (Unit u : second) {
    u.offset += clip.bytes.size();
    u.time += 4000 * kMs;
    both.push_back(u);
  }
  const std::int64_t atMs = unitsToMs(firstEnd);
  EXPECT_EQ(breaks(),
            (Json::array({{{"at_ms", atMs}, {"jump_ms", 4100 - atMs}, {"frames_dropped", 0}}})));
  expectPlayedAt(playedSeconds(both));
}

}  // namespace
}  // namespace tessaly::testing
