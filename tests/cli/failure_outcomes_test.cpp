// How a run of the command line ends when it cannot do what was asked: the checks before
// the first byte is read, and a disk that fills up mid-demux.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "cli/early_checks.h"
#include "cli_run.h"
#include "platform/error.h"
#include "support/file_size_limit.h"

namespace tessaly::cli {
namespace {

// A folder that nobody may write into: chmod stops others, the immutable flag root too.
class LockedFolder {
 public:
  explicit LockedFolder(std::string path) : path_(std::move(path)) {
    fs::create_directories(path_);
    ::chmod(path_.c_str(), 0555);
    if (::geteuid() == 0) {
      locked_ = std::system(("chattr +i '" + path_ + "' 2>/dev/null").c_str()) == 0;
    }
  }
  ~LockedFolder() {
    if (locked_) std::system(("chattr -i '" + path_ + "'").c_str());
    ::chmod(path_.c_str(), 0755);
  }
  LockedFolder(const LockedFolder&) = delete;
  LockedFolder& operator=(const LockedFolder&) = delete;

  bool locked() const { return ::geteuid() != 0 || locked_; }
  // What the system says to a writer.
  std::string reason() const {
    return ::access(path_.c_str(), W_OK) == 0 ? "writable" : std::strerror(errno);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool locked_ = false;
};

class FailureOutcomesTest : public CliRunTest {
 protected:
  void SetUp() override { writeEvo("FEATURE_1.EVO", feature); }

  Outcome demux(std::vector<std::string> more, const std::string& path = "") {
    std::vector<std::string> args{"demux", in.file("FEATURE_1.EVO")};
    args.insert(args.end(), more.begin(), more.end());
    if (path.empty()) return run(args);
    return testing::runChild(TESSALY_CLI, args, logs, "", {"PATH=" + path});
  }

  // The run failed with `message` alone: nothing logged, so nothing was read or made.
  static void expectRefused(const Outcome& r, const std::string& message) {
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tessaly-cli: " + message + "\n");
    EXPECT_EQ(r.out, "");
  }

  testing::TempDir bin;  // a PATH without mkvmerge
};

TEST_F(FailureOutcomesTest, EachCheckBeforeReadingNamesThePathAndTheReasonAndMakesNothing) {
  const LockedFolder locked(out.file("locked"));
  if (!locked.locked()) GTEST_SKIP() << "chattr cannot lock a folder against root here";

  expectRefused(demux({"--out", locked.path()}),
                "Cannot write into folder \"" + locked.path() + "\". " + locked.reason());
  expectRefused(demux({"--out", out.file("new/deeper"), "--mkv", locked.path() + "/film.mkv"}),
                "Cannot write into folder \"" + locked.path() + "\". " + locked.reason());
  // The film's own folder is made with the outputs'.
  expectRefused(
      demux({"--out", out.file("new"), "--mkv", out.file("new/film.mkv")}, bin.path()),
      "mkvmerge was not found; install MKVToolNix (Debian package mkvtoolnix) or leave out --mkv");
  EXPECT_FALSE(fs::exists(out.file("new")));
  EXPECT_TRUE(fs::is_empty(locked.path()));
}

// The free space of the file system that will hold the outputs (the nearest folder that
// exists) must cover the inputs, and the film as much again on the same file system.
TEST(EarlyChecksTest, TooLittleFreeSpaceIsRefusedWithBothFigures) {
  const testing::TempDir out;
  std::vector<std::string> asked;
  std::uint64_t free = 1'200'000'000;
  const FreeSpace space = [&](const std::string& folder) {
    asked.push_back(folder);
    return std::optional(free);
  };
  EarlyChecks checks{out.file("new/deeper"), out.file("new/deeper/film.mkv"), 2'300'000'000};
  const auto refusal = [&] {
    try {
      checkBeforeReading(checks, space);
    } catch (const Error& error) {
      return std::string(error.what());
    }
    return std::string("went on");
  };
  EXPECT_EQ(refusal(), "Not enough free space in \"" + out.file("new/deeper") +
                           "\": 1.2 GB free, 4.6 GB needed (--no-space-check to go on)");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_TRUE(fs::equivalent(asked[0], out.path()));
  EXPECT_FALSE(fs::exists(out.file("new")));

  checks.film.clear();
  EXPECT_EQ(refusal(), "Not enough free space in \"" + out.file("new/deeper") +
                           "\": 1.2 GB free, 2.3 GB needed (--no-space-check to go on)");
  free = 2'300'000'000;
  EXPECT_EQ(refusal(), "went on");
  free = 0;
  checks.spaceCheck = false;
  EXPECT_EQ(refusal(), "went on");
  EXPECT_EQ(sizeText(999), "999 bytes");
  EXPECT_EQ(sizeText(12'345'678), "12.3 MB");
}

// A full disk mid-pass: every output still open is unfinished and goes, each said; the run
// ends on the error, with no progress after it. A full disk at the last flush: the outputs
// closed whole stay.
TEST_F(FailureOutcomesTest, AFullDiskRemovesTheUnfinishedOutputsAndEndsOnTheError) {
  const auto mixed = [](int rounds) {
    return [rounds](PsWriter& w) {
      w.navPack();
      for (int n = 0; n < rounds; ++n) {
        w.pack(Stream::vc1(0));
        w.pack(Stream::ddPlus(0), 1500);
      }
    };
  };
  writeEvo("FEATURE_1.EVO", mixed(300));
  const std::string video = out.file("FEATURE_1.VC-1.stream.0.mpv");
  const std::string audio = out.file("FEATURE_1.DD+.stream.00.mpa");
  Outcome r;
  {
    // As a shell's ulimit -f leaves it: passing the limit raises SIGXFSZ.
    const testing::FileSizeLimit full(100000);
    const auto ignored = std::signal(SIGXFSZ, SIG_DFL);
    r = demux({"--out", out.path()});
    std::signal(SIGXFSZ, ignored);
  }
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(fs::is_empty(out.path()));
  const std::vector<std::string> logged = lines(r.out);
  const std::vector<std::string> tail(logged.end() - 3, logged.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Removed the unfinished " + video,
                                            "Removed the unfinished " + audio,
                                            "Writing " + video + " failed: File too large"}));
  EXPECT_EQ(lines(r.err).back(), "tessaly-cli: Stream write error");
  {
    // Named by codec, audio is routed by sub-stream id: its output goes as well.
    const testing::FileSizeLimit full(100000);
    const auto ignored = std::signal(SIGXFSZ, SIG_DFL);
    r = demux({"--out", out.path(), "--names", "codec"});
    std::signal(SIGXFSZ, ignored);
  }
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(fs::is_empty(out.path()));

  // The video outgrows the disk only when it is flushed, after the pass.
  const auto expected = writeEvo("FEATURE_1.EVO", mixed(30));
  ASSERT_GT(expected.at(1).size(), 50000u);
  ASSERT_LT(expected.at(17).size(), 50000u);
  {
    const testing::FileSizeLimit full(50000);
    r = demux({"--out", out.path()});
  }
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(fs::exists(video));
  EXPECT_EQ(testing::readFile(audio), expected.at(17));
  EXPECT_EQ(lines(r.out).end()[-2], "Removed the unfinished " + video);
}

}  // namespace
}  // namespace tessaly::cli
