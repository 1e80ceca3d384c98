// Faults of tessaly-cli found by running it as an attacker and as a careless user would:
// one regression test per fault, each running the program as a child process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

#include "support/child_process.h"
#include "support/file_size_limit.h"
#include "support/hostile_playlists.h"
#include "support/program_stream.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::ChildRun;
using testing::lines;
using tools::PsWriter;
using tools::Stream;

constexpr std::size_t kMiB = 1048576;

// A navigation pack, then `rounds` rounds of VC-1 0, MLP 1, DD+ 3 and subpicture 12.
testing::Build feature(int rounds) {
  return [rounds](PsWriter& w) {
    w.navPack();
    for (int n = 0; n < rounds; ++n) {
      w.pack(Stream::vc1(0));
      w.pack(Stream::mlp(1), 1400);
      w.pack(Stream::ddPlus(3), 1000);
      w.pack(Stream::subpicture(12), 500);
    }
  };
}

bool contains(const std::vector<std::string>& all, const std::string& line) {
  return std::find(all.begin(), all.end(), line) != all.end();
}

class CliRegressionTest : public ::testing::Test {
 protected:
  ChildRun run(const std::vector<std::string>& args, const std::string& outPath = "") {
    return testing::runChild(TESSALY_CLI, args, logs, outPath);
  }

  std::map<int, Bytes> writeEvo(const std::string& path, int rounds) {
    return testing::writeProgramStream(path, feature(rounds));
  }

  std::string evo() const { return in.file("FEATURE_1.EVO"); }

  testing::TempDir in;
  testing::TempDir out;
  testing::TempDir logs;
};

// tessaly-cli with standard output into a pipe of the smallest size, which the test
// fills so that the program blocks once it has written `freeBytes` bytes.
class BlockedChild {
 public:
  BlockedChild(const std::vector<std::string>& args, std::size_t freeBytes,
               const std::string& err) {
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    readEnd_ = ends[0];
    const int capacity = ::fcntl(ends[1], F_SETPIPE_SZ, 4096);
    EXPECT_GT(capacity, static_cast<int>(freeBytes));
    filler_ = static_cast<std::size_t>(capacity) - freeBytes;
    const std::string fill(filler_, 'f');
    EXPECT_EQ(::write(ends[1], fill.data(), fill.size()), static_cast<ssize_t>(fill.size()));
    std::vector<std::string> all = {TESSALY_CLI};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_EQ(posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    // The pipe is full once the program has written its share: it waits in its next write.
    for (int held = 0; held < capacity && running(); ::ioctl(readEnd_, FIONREAD, &held)) {
    }
  }

  // Sends the signal, reads standard output to its end and returns it with the exit status.
  std::pair<int, std::string> stop(int signal) {
    ::kill(pid_, signal);
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = ::read(readEnd_, buffer, sizeof buffer)) > 0;)
      text.append(buffer, got);
    ::close(readEnd_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.substr(filler_)};
  }

 private:
  // Whether the program still runs, without reaping it.
  bool running() const {
    siginfo_t info{};
    ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT);
    return info.si_pid == 0;
  }

  pid_t pid_ = 0;
  int readEnd_ = -1;
  std::size_t filler_ = 0;
};

// Up to 256 KiB per output were lost to a SIGTERM or SIGHUP, without a word, and Ctrl-C
// exited with 1. The program is held in its log line at the start of the demux pass,
// signalled there, and must stop at the pass's first progress point (4 MiB) as Cancel
// stops: every output holds what a demux of the file's first 4 MiB writes.
TEST_F(CliRegressionTest, SignalsStopTheJobAsCancelDoesAndCloseEveryOutput) {
  writeEvo(evo(), 600);  // about 5 MiB
  const std::vector<std::string> args = {"demux", evo(), "--out", out.path(), "--no-continue"};
  const ChildRun whole = run(args);
  ASSERT_EQ(whole.status, 0) << whole.err;
  // The one pass begins: its summary line, which the child is held writing.
  const auto held = whole.out.find("It contains");
  ASSERT_NE(held, std::string::npos);

  testing::TempDir cut;
  fs::copy_file(evo(), cut.file("FEATURE_1.EVO"));
  fs::resize_file(cut.file("FEATURE_1.EVO"), 4 * kMiB);
  testing::TempDir expected;
  ASSERT_EQ(run({"demux", cut.file("FEATURE_1.EVO"), "--out", expected.path()}).status, 0);

  for (const auto& [signal, status, reason] :
       {std::tuple{SIGINT, 130, "Ctrl-C"}, {SIGTERM, 143, "SIGTERM"}, {SIGHUP, 129, "SIGHUP"}}) {
    SCOPED_TRACE(reason);
    fs::remove_all(out.path());
    BlockedChild child(args, held, logs.file("err"));
    const auto [exit, log] = child.stop(signal);
    EXPECT_EQ(exit, status);
    EXPECT_EQ(lines(log).back(), "Done.");
    EXPECT_EQ(lines(testing::textOf(logs.file("err"))).back(),
              std::string("tessaly-cli: stopped by ") + reason);
    for (const auto& entry : fs::directory_iterator(expected.path())) {
      const std::string name = entry.path().filename();
      EXPECT_EQ(testing::readFile(out.file(name)), testing::readFile(entry.path())) << name;
    }
  }
}

// "demux" used the fast check, so streams that start after 300 MB were not written, and
// it said "Done." with exit status 0.
TEST_F(CliRegressionTest, TheDemuxReadsTheWholeFileAndTheScanSaysWhenItDidNot) {
  auto expected = testing::writeProgramStream(evo(), [](PsWriter& w) {
    w.navPack();
    w.pack(Stream::vc1(0));
  });
  tools::MemorySink tail;
  PsWriter late(tail, {.seed = 3});
  late.pack(Stream::ddPlus(3));
  {
    std::fstream file(evo(), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(301 * 1000 * 1000);  // past the fast check's end, 300,023,808
    file.write(reinterpret_cast<const char*>(tail.bytes.data()),
               static_cast<std::streamsize>(tail.bytes.size()));
  }

  const ChildRun scan = run({"scan", evo()});
  EXPECT_EQ(scan.status, 0);
  EXPECT_EQ(lines(scan.out).back(), "cbVideo0\tVC-1.stream.0");
  EXPECT_TRUE(contains(lines(scan.err),
                       "tessaly-cli: only the first 300 MB were read (fast "
                       "check); --full reads the whole file"));

  const ChildRun demux = run({"demux", evo(), "--out", out.path()});
  EXPECT_EQ(demux.status, 0) << demux.err;
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.VC-1.stream.0.mpv")), expected.at(1));
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.DD+.stream.03.mpa")), late.expected(20).bytes);
  EXPECT_EQ(demux.err.find("fast check"), std::string::npos);
}

// --select cbAudio07 wrote "FEATURE_1.No audio stream.mpa" and exited with 0; --select
// cbVideo2 read the whole file and wrote nothing.
TEST_F(CliRegressionTest, SelectNamesOnlyStreamsThatWereFound) {
  const auto expected = writeEvo(evo(), 3);
  ChildRun r = run({"demux", evo(), "--out", out.path(), "--select", "cbVideo0,cbAudio07"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(contains(lines(r.err), "tessaly-cli: cbAudio07 has no stream in FEATURE_1.EVO"));
  // Found out in the one pass, which wrote the stream that is there.
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.VC-1.stream.0.mpv")), expected.at(1));
  fs::remove(out.file("FEATURE_1.VC-1.stream.0.mpv"));
  r = run({"demux", evo(), "--out", out.path(), "--select", "cbVideo2"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(lines(r.err).front(), "tessaly-cli: cbVideo2 has no output file");
  EXPECT_EQ(r.out, "");  // refused before the file was read
  EXPECT_TRUE(fs::is_empty(out.path()));
}

// "Stream write error" did not say which output was short, and a full standard output
// went unnoticed with exit status 0.
TEST_F(CliRegressionTest, ErrorsNameTheirFileAndAFullStandardOutputFailsTheRun) {
  writeEvo(evo(), 300);
  ChildRun full;
  {
    testing::FileSizeLimit disk(100000);  // inherited by the child: its outputs stop there
    full = run({"demux", evo(), "--out", out.path()});
  }
  EXPECT_EQ(full.status, 1);
  const auto log = lines(full.out);
  EXPECT_EQ(log.back(),
            "Writing " + out.file("FEATURE_1.VC-1.stream.0.mpv") + " failed: File too large");
  EXPECT_EQ(lines(full.err).back(), "tessaly-cli: Stream write error");

  const ChildRun devFull = run({"scan", evo()}, "/dev/full");
  EXPECT_EQ(devFull.status, 1);
  EXPECT_EQ(lines(devFull.err).back(), "tessaly-cli: write error: No space left on device");
}

// "--out" named a folder that had to exist: the first output failed.
TEST_F(CliRegressionTest, OutCreatesItsFolderWithItsParents) {
  const auto expected = writeEvo(evo(), 3);
  const std::string folder = out.file("new/deeper/");
  const ChildRun r = run({"demux", evo(), "--out", folder, "--select", "cbAudio03"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(testing::readFile(folder + "FEATURE_1.DD+.stream.03.mpa"), expected.at(20));
}

// The memory goal of "Read XPL": any playlist up to the size limit under 256 MiB. The
// measured peaks are printed (the README quotes them).
TEST_F(CliRegressionTest, PlaylistsUpToTheLimitStayUnder256MiB) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer's own memory would be measured";
#endif
  for (const auto& path : testing::writeHostilePlaylists(in)) {
    // A spawned program's peak starts from its parent's: lower ours to what it holds now.
    std::ofstream("/proc/self/clear_refs") << "5";
    const ChildRun r = run({"xpl", path, "--evo", evo()}, "/dev/null");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_LT(r.peakKiB, 256 * 1024) << path;
    std::printf("tessaly-cli xpl %s: peak RSS %.1f MiB\n", fs::path(path).filename().c_str(),
                static_cast<double>(r.peakKiB) / 1024);
  }
}

// `--subpictures timed` on tiny units gave each its own 2048-byte pack: a 37 MB file made
// a 4.4 GB .sub. A stream whose units "Read EVO" found too small is written raw, whole;
// one whose units turn tiny later (here in the second segment) stops its timed output at
// 16 times its bytes, and the log says so.
TEST_F(CliRegressionTest, TimedSubpicturesOfTinyUnitsDoNotBlowUpTheDisk) {
  const auto units = [](std::size_t size, int count) {
    return [size, count](PsWriter& w) {
      w.navPack();
      w.pack(Stream::vc1(0));
      for (int n = 0; n < count; ++n) w.pack(Stream::subpicture(0), size);
    };
  };
  const auto tiny = testing::writeProgramStream(evo(), units(8, 4000));
  ChildRun r = run({"demux", evo(), "--out", out.path(), "--subpictures", "timed"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(lines(r.out),
                       "Warning: subpicture stream 0 has units too small for a "
                       "timed output (it would take more than 16 times the "
                       "stream's bytes); it is written as it is."));
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.Subpicture.00.sup")), tiny.at(33));
  EXPECT_FALSE(fs::exists(out.file("FEATURE_1.Subpicture.00.sub")));

  fs::remove_all(out.path());
  testing::writeProgramStream(evo(), units(1500, 20));
  const auto later = testing::writeProgramStream(in.file("FEATURE_2.EVO"), units(8, 4000), 2);
  r = run({"demux", evo(), "--out", out.path(), "--subpictures", "timed"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(lines(r.out),
                       "Warning: subpicture stream 0 has units too small for a "
                       "timed output (it would take more than 16 times the "
                       "stream's bytes); it stops there, and --subpictures raw "
                       "keeps the whole stream."));
  const auto sub = fs::file_size(out.file("FEATURE_1.Subpicture.00.sub"));
  EXPECT_LE(sub, 16 * (20 * 1500 + 4000 * 8 + 2048));
  // One index line per unit written, each unit one pack here.
  const std::string index = testing::textOf(out.file("FEATURE_1.Subpicture.00.idx"));
  std::size_t entries = 0;
  for (std::size_t at = 0; (at = index.find("\ntimestamp: ", at)) != std::string::npos; ++at) {
    ++entries;
  }
  EXPECT_EQ(entries, sub / 2048);
}

// A file name holding ESC]0;...BEL, ESC[2J or a line break reached the terminal raw:
// it set the terminal's title, cleared it or forged log lines. The file keeps its name;
// the log shows the control characters as \xHH.
TEST_F(CliRegressionTest, ControlCharactersOfFileNamesReachTheTerminalEscaped) {
  const std::string name = "A\x1b]0;owned\x07\x1b[2J\nDone.\n_1.EVO";
  writeEvo(in.file(name), 3);
  const ChildRun r = run({"demux", in.file(name), "--out", out.path(), "--select", "cbVideo0"});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const std::string& text : {r.out, r.err}) {
    EXPECT_EQ(text.find_first_of("\x1b\x07"), std::string::npos);
  }
  EXPECT_TRUE(
      contains(lines(r.out), "Opening file A\\x1B]0;owned\\x07\\x1B[2J\\x0ADone.\\x0A_1.EVO"));
  EXPECT_TRUE(fs::exists(out.file("A\x1b]0;owned\x07\x1b[2J\nDone.\n_1.VC-1.stream.0.mpv")));
}

}  // namespace
}  // namespace tessaly
