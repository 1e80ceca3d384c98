// Outputs that the user names, aimed at the inputs or at each other: every one is refused
// before anything is read or written, by one check, with the inputs left as they were.
#include <filesystem>
#include <tuple>

#include "disc_fixture.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

using OutputRuleTest = testing::DiscTest;

// `demux E1 --report E1` (or the second segment), `xpl X --evo E1 --chapters E1`,
// `--report X`, `--mkvmerge-options X` and `xpl X --chapters X` overwrote an input; `--mkv X`
// deleted the playlist even with no mkvmerge; `--report` naming a stream's output replaced
// it; `--mkv F --report F` replaced the film by the report once the streams were gone.
TEST_F(OutputRuleTest, OutputsNamedOnAnInputOrOnEachOtherAreRefusedFirst) {
  const std::string o = out.file("o");
  const std::string film = o + "/film.mkv";
  const std::string video = o + "/FEATURE_1.MPEG-2.stream.0.mpv";
  const std::string input = "It is one of the input files.";
  const std::string twice = "It is also the output of another stream.";
  const std::vector<std::string> demux{"demux", evo1, "--xpl", xpl, "--out", o};
  const auto with = [&](std::vector<std::string> more) {
    std::vector<std::string> args = demux;
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  const std::vector<std::tuple<std::vector<std::string>, std::string, std::string>> cases = {
      {with({"--report", evo1}), evo1, input},
      {with({"--report", evo2}), evo2, input},
      {with({"--report", xpl}), xpl, input},
      {with({"--mkv", film, "--mkvmerge-options", xpl}), xpl, input},
      {with({"--mkv", xpl}), xpl, input},
      {{"xpl", xpl, "--evo", evo1, "--chapters", evo1}, evo1, input},
      {{"xpl", xpl, "--evo", evo1, "--chapters", xpl}, xpl, input},
      {with({"--select", "cbVideo0", "--report", video}), video, twice},
      {with({"--mkv", film, "--report", o + "/./film.mkv"}), o + "/film.mkv", twice},
  };
  const auto first = testing::readFile(evo1);
  const auto second = testing::readFile(evo2);
  // A mkvmerge that would make nothing: the check comes before the step would run it.
  const std::string bin = out.file("bin");
  fs::create_directory(bin);
  testing::writeFile(bin + "/mkvmerge", std::string("#!/bin/sh\nexit 2\n"));
  fs::permissions(bin + "/mkvmerge", fs::perms::owner_all);
  for (const auto& [args, name, reason] : cases) {
    SCOPED_TRACE(args.back());
    fs::remove_all(o);
    const testing::ChildRun r = run(args, {"PATH=" + bin});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(testing::lines(r.err).back(),
              "tessaly-cli: Cannot create file \"" + name + "\". " + reason);
    EXPECT_EQ(testing::readFile(evo1), first);
    EXPECT_EQ(testing::readFile(evo2), second);
    EXPECT_EQ(testing::textOf(xpl), playlist);
    EXPECT_TRUE(!fs::exists(o) || fs::is_empty(o)) << "nothing was written";
  }
}

}  // namespace
}  // namespace tessaly
