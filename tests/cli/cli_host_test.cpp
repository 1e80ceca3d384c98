#include "cli/cli_host.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>

#include "cli/arguments.h"
#include "cli/evo_steps.h"
#include "cli/verbs.h"
#include "session/log.h"
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

// What a host writes to standard error while `steps` run on its session.
std::string statusOutput(bool selfUpdating, const std::function<void(Session&)>& steps) {
  CapturedStderr captured;
  {
    CliHost host(selfUpdating);
    Session s{host};
    host.attach(s);
    steps(s);
  }
  return captured.text();
}

TEST(CliHost, PlainStatusLinesAndErrors) {
  EXPECT_EQ(statusOutput(false,
                         [](Session& s) {
                           slog(s, "Reading", 0);
                           slog(s, "Reading A.EVO 4/8 Mbytes, Remaining time: 0:00:01", 1);
                           slog(s, "", 1);  // nothing to show
                           s.host.showError("Stream write error");
                         }),
            "Reading\nReading A.EVO 4/8 Mbytes, Remaining time: 0:00:01\n"
            "tessaly-cli: Stream write error\n");
}

TEST(CliHost, SelfUpdatingLineIsRewrittenAndClearedAtTheEnd) {
  EXPECT_EQ(statusOutput(true,
                         [](Session& s) {
                           slog(s, "Writing stream(s)", 0);
                           slog(s, "Demuxing A.EVO 4/8 Mbytes", 1);
                           log(s, "Done.");
                         }),
            "\r\x1b[K[Writing stream(s)]"
            "\r\x1b[K[Writing stream(s)] Demuxing A.EVO 4/8 Mbytes"
            "\r\x1b[K\r\x1b[K[Writing stream(s)] Demuxing A.EVO 4/8 Mbytes\r\x1b[K");
}

TEST(CliHost, CtrlCStopsTheJobAtTheNextMessageRound) {
  CliHost host(false);
  Session s{host};
  host.attach(s);
  installStopSignals();
  host.processMessages();
  EXPECT_FALSE(s.StopRequested);
  EXPECT_EQ(statusAfterJobs(s), kSuccess);
  EXPECT_FALSE(host.askYesNo("Are you sure to stop demuxing?"));
  std::raise(SIGINT);
  EXPECT_TRUE(interrupted());
  host.processMessages();
  EXPECT_TRUE(s.StopRequested);
  EXPECT_TRUE(host.askYesNo("Are you sure to stop demuxing?"));
  EXPECT_EQ(statusAfterJobs(s), 130);  // the job was cut short, by SIGINT
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, SIG_DFL);
}

}  // namespace
}  // namespace tessaly::cli
