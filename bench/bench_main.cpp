// tessaly-bench: the engine's speed on a large file, outside the tests.
//   tessaly-bench write FILE BYTES   writes a realistic feature of at least BYTES bytes
//   tessaly-bench scan FILE          one full scanning pass (fast check off)
//   tessaly-bench demux FILE DIR     one writing pass, every found stream open in DIR
// scan and demux print "seconds=S cpu_seconds=C peak_rss_kib=K" for the pass.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>

#include "bench/feature_mix.h"
#include "engine/demux.h"
#include "shell/output_set.h"
#include "tools/byte_sink.h"

namespace {

using namespace tessaly;

// The window of a benchmark: nothing to show, nothing to ask.
class QuietHost : public Host {
 public:
  void logAppended(const std::string&) override {}
  void statusChanged(int) override {}
  void processMessages() override {}
  void repaint() override {}
  bool askYesNo(const std::string&) override { return false; }
  void showError(const std::string&) override {}
  bool runDialog(FileDialog&) override { return false; }
};

void openInput(Session& session, const std::string& path) {
  session.InputStream.reset();  // the previous pass's handle holds the exclusive lock
  session.InputStream = std::make_unique<InputFile>(path, Access::Exclusive);
}

double cpuSeconds(const rusage& usage) {
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Times `pass` (wall clock and processor time) and prints them with the process's peak
// resident set.
void timed(const std::function<void()>& pass) {
  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  const auto start = std::chrono::steady_clock::now();
  pass();
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  rusage after{};
  ::getrusage(RUSAGE_SELF, &after);
  std::printf("seconds=%.4f cpu_seconds=%.4f peak_rss_kib=%ld\n", seconds.count(),
              cpuSeconds(after) - cpuSeconds(before), after.ru_maxrss);
}

// Opens an output in `dir` for every stream a fast scan finds, and ticks its box.
void openFoundStreams(Session& session, const std::string& file, const std::string& dir) {
  openInput(session, file);
  demux(session, 0);
  for (int slot : OutputSet::jobOrder()) {
    if (session.StreamTable[slot] == -1) continue;
    session.OutputStreams.open(slot, dir + "/stream" + std::to_string(slot));
    auto& w = session.fMain;
    auto& box = slot < kAudioSlot ? w.cbVideo[static_cast<std::size_t>(slot - kVideoSlot)]
                : slot < kSubSlot ? w.cbAudio[static_cast<std::size_t>(slot - kAudioSlot)]
                                  : w.cbSub[static_cast<std::size_t>(slot - kSubSlot)];
    box.ticked = true;
  }
}

int run(int argc, char** argv) {
  const std::string verb = argc > 2 ? argv[1] : "";
  QuietHost host;
  Session session(host);
  if (verb == "write" && argc == 4) {
    tools::FileSink sink(argv[2]);
    tools::PsWriter writer(sink, {.seed = 2024, .keepPayload = false, .audioBound = 3});
    bench::writeFeature(writer, std::stoull(argv[3]));
    sink.close();
  } else if (verb == "scan" && argc == 3) {
    session.fMain.cbFastCheck.ticked = false;
    openInput(session, argv[2]);
    timed([&] { demux(session, 0); });
  } else if (verb == "demux" && argc == 4) {
    openFoundStreams(session, argv[2], argv[3]);
    openInput(session, argv[2]);
    timed([&] {
      demux(session, 1);
      session.OutputStreams.closeAll();
    });
  } else {
    std::fprintf(stderr, "usage: tessaly-bench write FILE BYTES | scan FILE | demux FILE DIR\n");
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tessaly-bench: %s\n", error.what());
    return 1;
  }
}
