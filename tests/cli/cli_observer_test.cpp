#include "cli/cli_observer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>

#include "cli/arguments.h"
#include "cli/evo_steps.h"
#include "cli/stream_selection.h"
#include "cli/verbs.h"
#include "platform/error.h"
#include "support/temp_dir.h"

namespace tessaly::cli {
namespace {

const std::vector<OptionRule> kSpecs = {{"--out", "DIR", ""}, {"--full", "", ""}};

TEST(Arguments, ValuesFlagsAndOperandsInAnyOrder) {
  const Arguments a = parseArguments({"--out", "x y", "A.EVO", "--full", "B"}, kSpecs);
  EXPECT_EQ(a.operands, (std::vector<std::string>{"A.EVO", "B"}));
  EXPECT_EQ(a.value("--out"), "x y");
  EXPECT_TRUE(a.has("--full"));
  EXPECT_EQ(parseArguments({"--out=", "A"}, kSpecs).value("--out", "unset"), "");
  EXPECT_EQ(parseArguments({"A"}, kSpecs).value("--out", "unset"), "unset");
  EXPECT_EQ(parseArguments({"--out=a=b"}, kSpecs).value("--out"), "a=b");
}

TEST(Arguments, WrongOptionsAreUsageErrors) {
  EXPECT_THROW(parseArguments({"--fast"}, kSpecs), UsageError);
  EXPECT_THROW(parseArguments({"A", "--out"}, kSpecs), UsageError);
  EXPECT_THROW(parseArguments({"--full=1"}, kSpecs), UsageError);
  EXPECT_THROW(parseArguments({"--out", "a", "--out", "b"}, kSpecs), UsageError);
  EXPECT_EQ(splitList(",cbVideo0,,cbSub12,"), (std::vector<std::string>{"cbVideo0", "cbSub12"}));
}

// Sends standard error to a file for the scope.
class CapturedStderr {
 public:
  CapturedStderr() : saved_(::dup(STDERR_FILENO)) {
    std::fflush(stderr);
    std::FILE* file = std::fopen(path_.c_str(), "w");
    ::dup2(::fileno(file), STDERR_FILENO);
    std::fclose(file);
  }
  ~CapturedStderr() { restore(); }
  CapturedStderr(const CapturedStderr&) = delete;
  CapturedStderr& operator=(const CapturedStderr&) = delete;

  std::string text() {
    restore();
    const auto bytes = testing::readFile(path_);
    return {bytes.begin(), bytes.end()};
  }

 private:
  void restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    saved_ = -1;
  }

  testing::TempDir dir_;
  std::string path_ = dir_.file("stderr");
  int saved_;
};

// What an observer writes to standard error while `steps` run on it.
std::string statusOutput(bool selfUpdating, const std::function<void(CliObserver&)>& steps) {
  CapturedStderr captured;
  {
    CliObserver observer(selfUpdating);
    steps(observer);
  }
  return captured.text();
}

TEST(CliObserver, PlainStatusLinesAndErrors) {
  EXPECT_EQ(statusOutput(false,
                         [](CliObserver& o) {
                           o.status(0, "Reading");
                           o.status(1, "Reading A.EVO 4/8 Mbytes, Remaining time: 0:00:01");
                           o.status(1, "");  // nothing to show
                           o.status(1, "B\x1b[2J.EVO");
                           EXPECT_FALSE(o.succeeded([] {
                             throw StreamError("Stream write error", "Writing A failed");
                           }));
                         }),
            "Reading\nReading A.EVO 4/8 Mbytes, Remaining time: 0:00:01\nB\\x1B[2J.EVO\n"
            "tessaly-cli: Stream write error\n");
}

TEST(CliObserver, SelfUpdatingLineIsRewrittenAndClearedAtTheEnd) {
  EXPECT_EQ(statusOutput(true,
                         [](CliObserver& o) {
                           o.status(0, "Writing stream(s)");
                           o.status(1, "Demuxing A.EVO 4/8 Mbytes");
                           o.log("Done.");
                         }),
            "\r\x1b[K[Writing stream(s)]"
            "\r\x1b[K[Writing stream(s)] Demuxing A.EVO 4/8 Mbytes"
            "\r\x1b[K\r\x1b[K[Writing stream(s)] Demuxing A.EVO 4/8 Mbytes\r\x1b[K");
}

TEST(CliObserver, CtrlCStopsTheJobAtTheNextBreath) {
  CliObserver observer(false);
  installStopSignals();
  observer.breathe();
  EXPECT_FALSE(observer.stopRequested());
  EXPECT_EQ(statusAfterJobs(observer), kSuccess);
  std::raise(SIGINT);
  EXPECT_TRUE(interrupted());
  EXPECT_FALSE(observer.stopRequested());  // between breaths the pass goes on
  observer.breathe();
  EXPECT_TRUE(observer.stopRequested());
  EXPECT_EQ(statusAfterJobs(observer), 130);  // the job was cut short, by SIGINT
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, SIG_DFL);
}

// Box names and the human forms select the same slots; anything else, and streams
// without an output file, are usage errors.
TEST(StreamSelection, BoxNamesAndStreamNumbersNameTheSameSlots) {
  const std::vector<std::pair<std::string, std::string>> same = {
      {"cbVideo0", "video0"},   {"cbVideo1", "video1"}, {"cbAudio03", "audio3"},
      {"cbAudio15", "audio15"}, {"cbSub00", "sub0"},    {"cbSub12", "sub12"}};
  std::set<int> slots;
  for (const auto& [box, stream] : same) {
    SCOPED_TRACE(box);
    EXPECT_EQ(selectedStream(box).slot, selectedStream(stream).slot);
    EXPECT_EQ(selectedStream("audio03").slot, 20);  // the EVO's number, leading zero or not
    slots.insert(selectedStream(stream).slot);
  }
  EXPECT_EQ(slots, (std::set<int>{1, 2, 20, 32, 33, 45}));
  for (const std::string wrong : {"cbAudio3", "cbAudio16", "audio16", "audio", "audio-1", "audio 3",
                                  "sub32", "Video0", "subpicture1", "audio123", ""}) {
    SCOPED_TRACE(wrong);
    EXPECT_THROW(selectedStream(wrong), UsageError);
  }
  for (const std::string noOutput : {"cbVideo2", "video2", "video15", "sub16", "sub31"}) {
    try {
      selectedStream(noOutput);
      ADD_FAILURE() << noOutput;
    } catch (const UsageError& error) {
      EXPECT_EQ(std::string(error.what()), noOutput + " has no output file");
    }
  }
  const Arguments none = parseArguments({"--select", ","}, {{"--select", "S", ""}});
  EXPECT_THROW(selectedStreams(none), UsageError);
}

}  // namespace
}  // namespace tessaly::cli
