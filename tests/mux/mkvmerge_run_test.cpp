// mkvmerge run as a child process, played by scripts in PATH: its progress and warnings,
// its failure, Cancel, and mkvmerge missing.
#include "mux/mkvmerge_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/error.h"
#include "support/recording_observer.h"
#include "support/temp_dir.h"

namespace tessaly {
namespace {

// Makes PATH hold only a folder with a script named mkvmerge, for the test's lifetime.
class MkvmergeRunTest : public ::testing::Test {
 protected:
  MkvmergeRunTest() : saved_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    ::setenv("PATH", (bin.path() + ":/usr/bin:/bin").c_str(), 1);
  }
  ~MkvmergeRunTest() override { ::setenv("PATH", saved_.c_str(), 1); }

  void script(const std::string& body) {
    testing::writeFile(bin.file("mkvmerge"), "#!/bin/sh\n" + body);
    ::chmod(bin.file("mkvmerge").c_str(), 0755);
  }

  std::string failure(const std::vector<std::string>& arguments) {
    try {
      runMkvmerge(observer, arguments, "/o/film.mkv", "leave out --mkv");
    } catch (const Error& error) {
      return error.what();
    }
    return "no error";
  }

  testing::TempDir bin;
  testing::RecordingObserver observer;

 private:
  std::string saved_;
};

// Exit status 1 is a success; the progress reaches the status bar, the warnings are counted
// and the first three reach the log once mkvmerge ended, and the arguments follow
// --gui-mode unchanged.
TEST_F(MkvmergeRunTest, ProgressGoesToTheStatusBarAndWarningsToTheLog) {
  script("printf '%s\\n' \"$@\" > \"" + bin.file("arguments") +
         "\"\n"
         "printf 'mkvmerge v74\\n#GUI#progress 50%%\\r#GUI#progress 100%%\\r'\n"
         "for n in $(seq 328); do echo \"#GUI#warning Track 1: damaged frame $n.\"; done\n"
         "exit 1\n");
  EXPECT_EQ(runMkvmerge(observer, {"-o", "/o/film.mkv", "/o/a b.eac3"}, "/o/film.mkv", ""),
            std::optional<std::size_t>(328));
  const auto called = testing::readFile(bin.file("arguments"));
  EXPECT_EQ(
      std::string(called.begin(), called.end()),
      "--command-line-charset\nUTF-8\n--output-charset\nUTF-8\n--gui-mode\n-o\n/o/film.mkv\n/o/"
      "a b.eac3\n");
  EXPECT_EQ(observer.statuses.back(), std::make_pair(1, std::string("Muxing film.mkv 100%")));
  EXPECT_EQ(observer.logged,
            (std::vector<std::string>{
                "mkvmerge: 328 warnings, e.g.:", "mkvmerge: Warning: Track 1: damaged frame 1.",
                "mkvmerge: Warning: Track 1: damaged frame 2.",
                "mkvmerge: Warning: Track 1: damaged frame 3."}));
  EXPECT_TRUE(observer.writing);  // stoppable as a writing pass: Cancel asks first
  EXPECT_FALSE(observer.stoppable);
}

// An error fails the run whatever the exit status says (a wrapper may exit 0 after one),
// and no progress follows it.
TEST_F(MkvmergeRunTest, ExitStatusTwoOrAnErrorLineFailsWithItsFirstError) {
  script("echo '#GUI#error The file /o/a.eac3 could not be opened.'\nexit 2\n");
  EXPECT_EQ(failure({}),
            "mkvmerge could not make film.mkv: The file /o/a.eac3 could not be opened.");
  script(
      "echo '#GUI#progress 40%'\necho '#GUI#error No space left on device.'\n"
      "echo '#GUI#progress 100%'\necho '#GUI#error Again.'\nexit 0\n");
  EXPECT_EQ(failure({}), "mkvmerge could not make film.mkv: No space left on device.");
  EXPECT_EQ(observer.statuses.back().second, "Muxing film.mkv 40%");  // none after the error
  script("exit 2\n");
  EXPECT_EQ(failure({}), "mkvmerge could not make film.mkv (exit status 2)");
  script("kill -KILL $$\n");
  EXPECT_EQ(failure({}), "mkvmerge could not make film.mkv: it was ended by signal 9");
}

// Cancel, seen at the breaths while mkvmerge runs, ends it with SIGTERM.
TEST_F(MkvmergeRunTest, CancelStopsMkvmerge) {
  script("echo '#GUI#progress 1%'\nexec sleep 25\n");
  observer.onBreath = [&] {
    if (!observer.statuses.empty() && observer.statuses.back().second == "Muxing film.mkv 1%") {
      observer.stop = true;
    }
  };
  EXPECT_FALSE(runMkvmerge(observer, {}, "/o/film.mkv", ""));
  EXPECT_TRUE(observer.stop);
}

TEST_F(MkvmergeRunTest, WithoutMkvmergeTheMessageSaysWhatToInstall) {
  ::setenv("PATH", bin.path().c_str(), 1);  // holds no mkvmerge yet
  EXPECT_EQ(failure({}),
            "mkvmerge was not found; install MKVToolNix (Debian package mkvtoolnix) or leave out "
            "--mkv");
}

}  // namespace
}  // namespace tessaly
