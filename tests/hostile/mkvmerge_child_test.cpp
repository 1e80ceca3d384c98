// mkvmerge as an attacker's wrapper or a stuck child would behave, played by scripts in
// PATH: one regression test per fault found. Every script ends by itself within 30 s.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/child_process.h"
#include "support/child_process.h"
#include "support/program_stream.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testing::lines;
using tools::Stream;

// A VC-1 and a DD+ stream, both of which go into the Matroska file.
void twoTracks(tools::PsWriter& w) {
  w.navPack();
  for (int n = 0; n < 20; ++n) {
    w.pack(Stream::vc1(0));
    w.pack(Stream::ddPlus(0), 1000);
  }
}

// Whether the process runs: it exists and is no zombie waiting for its reaper.
bool running(pid_t pid) {
  std::string stat;
  try {
    stat = testing::textOf("/proc/" + std::to_string(pid) + "/stat");
  } catch (const std::runtime_error&) {
    return false;  // reaped
  }
  const auto state = stat.rfind(')');
  return state != std::string::npos && state + 2 < stat.size() && stat[state + 2] != 'Z';
}

class MkvmergeChildTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::writeProgramStream(in.file("FEATURE_1.EVO"), twoTracks); }

  // A script named mkvmerge in the test's own PATH folder.
  void fake(const std::string& body) {
    testing::writeFile(bin.file("mkvmerge"), "#!/bin/sh\n" + body);
    ::chmod(bin.file("mkvmerge").c_str(), 0755);
  }

  std::vector<std::string> demux() const {
    return {"demux", in.file("FEATURE_1.EVO"), "--out", out.path(), "--mkv", out.file("film.mkv")};
  }

  testing::ChildRun run() {
    return testing::runChild(TESSALY_CLI, demux(), logs, "",
                             {"PATH=" + bin.path() + ":/usr/bin:/bin"});
  }

  void expectStreamsKept() const {
    EXPECT_TRUE(fs::exists(out.file("FEATURE_1.VC-1.stream.0.mpv")));
    EXPECT_TRUE(fs::exists(out.file("FEATURE_1.DD+.stream.00.mpa")));
  }

  testing::TempDir in;
  testing::TempDir out;
  testing::TempDir bin;
  testing::TempDir logs;
};

// After mkvmerge exited 0 nothing checked the file: a wrapper that exits 0 (or mkvmerge
// printing its help for a title "--help") had every stream removed, and "Done.", exit 0.
TEST_F(MkvmergeChildTest, AnExitStatusOfZeroWithoutTheFileFailsAndKeepsTheStreams) {
  fake("exit 0\n");
  testing::ChildRun r = run();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(lines(r.err).back(), "tessaly-cli: mkvmerge did not make " + out.file("film.mkv") +
                                     ": the file is not there; the streams are kept.");
  EXPECT_NE(lines(r.out).back(), "Done.");
  expectStreamsKept();

  // A file there, but not what was handed in: mkvmerge -J lists one track of two. (-J is
  // matched as a word: the random name of a temporary folder may hold "-J" too.)
  fake(
      "for a; do [ \"$last\" = -o ] && out=$a; last=$a; done\n"
      "case \" $* \" in *\" -J \"*) echo '{\"container\": {\"recognized\": true, \"type\": "
      "\"Matroska\"},'\n"
      "  echo '\"tracks\": [{\"type\": \"video\"}]}'; exit 0;; esac\n"
      ": > \"$out\"\n");
  r = run();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(lines(r.err).back(), "tessaly-cli: mkvmerge did not make " + out.file("film.mkv") +
                                     ": it holds 1 tracks, not the 2 handed in; the streams are "
                                     "kept.");
  expectStreamsKept();
}

// 328 warnings of a damaged stream were 328 log lines: now a count and the first three, and
// the run ends on a warning line after "Done.", exit status 0. An error line failed
// nothing when mkvmerge exited 0 after it: now it fails the film, which goes, the
// streams staying.
TEST_F(MkvmergeChildTest, WarningsAreCountedAndAnErrorLineFailsTheFilm) {
  const std::string makesTheFilm =
      "for a; do [ \"$last\" = -o ] && out=$a; last=$a; done\n"
      "case \" $* \" in *\" -J \"*) echo '{\"container\": {\"recognized\": true, \"type\": "
      "\"Matroska\"},'\n"
      "  echo '\"tracks\": [{\"type\": \"video\"}, {\"type\": \"audio\"}]}'; exit 0;; esac\n"
      "echo film > \"$out\"\n";
  fake(makesTheFilm + "for n in $(seq 328); do echo \"#GUI#warning Frame $n is damaged.\"; done\n" +
       "exit 1\n");
  testing::ChildRun r = run();
  EXPECT_EQ(r.status, 0);
  const std::vector<std::string> logged = lines(r.out);
  const auto count = std::find(logged.begin(), logged.end(), "mkvmerge: 328 warnings, e.g.:");
  ASSERT_LT(count + 3, logged.end());
  EXPECT_EQ(std::vector<std::string>(count + 1, count + 4),
            (std::vector<std::string>{"mkvmerge: Warning: Frame 1 is damaged.",
                                      "mkvmerge: Warning: Frame 2 is damaged.",
                                      "mkvmerge: Warning: Frame 3 is damaged."}));
  EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                          [](const std::string& l) { return l.find("damaged") != l.npos; }),
            3);
  EXPECT_EQ(logged.back(), "Done.");
  EXPECT_EQ(lines(r.err).back(), "tessaly-cli: warning: " + out.file("film.mkv") +
                                     " is made, with 328 mkvmerge warnings (the first in the "
                                     "log above)");

  fake(makesTheFilm + "echo '#GUI#error Track 2 is cut off.'\nexit 0\n");
  r = run();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(lines(r.err).back(),
            "tessaly-cli: mkvmerge could not make film.mkv: Track 2 is cut off.");
  EXPECT_EQ(lines(r.out).back(), "Failed: removed the incomplete " + out.file("film.mkv"));
  EXPECT_FALSE(fs::exists(out.file("film.mkv")));
  expectStreamsKept();
}

// A mkvmerge that closed its output and ignored SIGTERM held the command line in a
// blocking waitpid for good, and its own children were never signalled; one that exited
// 0 after the stop had the streams removed. Now the group gets SIGTERM, then SIGKILL.
TEST_F(MkvmergeChildTest, AStopEndsAStuckMkvmergeAndItsChildrenAndKeepsTheStreams) {
  fake("trap '' TERM\nsleep 25 & echo $! > '" + bin.file("grandchild") + "'\n" +
       "exec >/dev/null 2>&1\n: > '" + bin.file("started") + "'\nwait\nexit 0\n");
  std::vector<std::string> all{TESSALY_CLI};
  const auto args = demux();
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const std::string path = "PATH=" + bin.path() + ":/usr/bin:/bin";
  std::vector<char*> envp{const_cast<char*>(path.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t cli = 0;
  ASSERT_EQ(posix_spawn(&cli, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  while (!fs::exists(bin.file("started")))
    std::this_thread::sleep_for(std::chrono::milliseconds(20));

  const auto stopped = Clock::now();
  ::kill(cli, SIGTERM);
  int status = 0;
  ::waitpid(cli, &status, 0);
  const double seconds = std::chrono::duration<double>(Clock::now() - stopped).count();
  EXPECT_GT(seconds, 4.5) << "both ignore SIGTERM: SIGKILL ends them after 5 s";
  EXPECT_LT(seconds, 15);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 143);
  const pid_t grandchild = std::stoi(testing::textOf(bin.file("grandchild")));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(running(grandchild)) << "the stop reached mkvmerge's own child";
  expectStreamsKept();
  EXPECT_FALSE(fs::exists(out.file("film.mkv")));
}

// A program that writes without ever ending a line grew one string without bound (1 GiB
// of output, 1.9 GiB resident): a line keeps its first 64 KiB.
TEST(ChildProcessRegression, ALineWithoutEndKeepsItsFirst64KiB) {
  std::size_t longest = 0;
  std::size_t count = 0;
  const ProgramEnd end = runProgram(
      {"sh", "-c", "head -c 100000000 /dev/zero | tr '\\0' a; echo; echo last"},
      [&](const std::string& line) {
        longest = std::max(longest, line.size());
        ++count;
      },
      [] { return false; });
  EXPECT_EQ(end.exitStatus, 0);
  EXPECT_EQ(longest, 65536u);
  EXPECT_EQ(count, 2u);
}

}  // namespace
}  // namespace tessaly
