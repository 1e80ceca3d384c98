// tessaly-bench: the engine's speed on a large file, outside the tests. It drives the
// engine through its port alone, without the window's records.
//   tessaly-bench mux FILE BYTES SECONDS VIDEO DD DDPLUS MLP LPCM
//       multiplexes the elementary streams (SECONDS long each: MPEG-2 video, DD, DD+,
//       MLP, and 16-bit 48 kHz stereo LPCM, big-endian) into a feature of BYTES bytes
//   tessaly-bench scan FILE          one full scanning pass (fast check off)
//   tessaly-bench demux FILE DIR     one writing pass, every stream to a file in DIR
// scan and demux print "seconds=S cpu_seconds=C peak_rss_kib=K" for the pass.
#include <sys/resource.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "engine/pass.h"
#include "tools/byte_sink.h"
#include "tools/feature_mix.h"

namespace {

using namespace tessaly;
using tools::Stream;

// Every stream's payload to a file of its own, created at its first run.
class StreamFiles : public PassObserver {
 public:
  explicit StreamFiles(std::string dir) : dir_(std::move(dir)) {}

  PayloadSink* payloadRun(int slot) override {
    auto& file = files_[static_cast<std::size_t>(slot)];
    if (!file) file = std::make_unique<OutputFile>(dir_ + "/stream" + std::to_string(slot));
    return file.get();
  }
  void closeAll() {
    for (auto& file : files_) {
      if (file) file->close();
    }
  }

 private:
  std::string dir_;
  std::array<std::unique_ptr<OutputFile>, kSlots + 1> files_;  // by slot
};

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

std::vector<std::uint8_t> readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// argv[5..9]: the streams in the order of the usage line.
void mux(char** argv) {
  const std::vector<std::uint8_t> video = readWhole(argv[5]);
  std::vector<tools::Elementary> streams = {
      {Stream::mpeg2(0), video, 1, tools::pictureStarts(video)},
      {Stream::dd(0), readWhole(argv[6])},
      {Stream::ddPlus(1), readWhole(argv[7])},
      {Stream::mlp(2), readWhole(argv[8])},
      {Stream::lpcm(3), readWhole(argv[9]), 4},  // one sample frame: 2 channels of 2 bytes
  };
  tools::FileSink sink(argv[2]);
  // LPCM format bytes: 16 bits, 48 kHz, 2 channels; no dynamic range control.
  tools::PsWriter writer(sink,
                         {.keepPayload = false, .audioBound = 4, .lpcmFormat = {0x00, 0x01, 0x80}});
  tools::FeatureMix(std::move(streams), std::stod(argv[4])).write(writer, std::stoull(argv[3]));
  sink.close();
}

int run(int argc, char** argv) {
  const std::string verb = argc > 2 ? argv[1] : "";
  SlotTable table;
  if (verb == "mux" && argc == 10) {
    mux(argv);
  } else if (verb == "scan" && argc == 3) {
    InputFile input(argv[2], Access::Exclusive);
    PassObserver quiet;
    timed([&] { runPass(input, table, {PassMode::Scan, false}, quiet); });
  } else if (verb == "demux" && argc == 4) {
    InputFile input(argv[2], Access::Exclusive);
    StreamFiles files(argv[3]);
    timed([&] {
      runPass(input, table, {PassMode::Write, false}, files);
      files.closeAll();
    });
  } else {
    std::fprintf(stderr,
                 "usage: tessaly-bench mux FILE BYTES SECONDS VIDEO DD DDPLUS MLP LPCM"
                 " | scan FILE | demux FILE DIR\n");
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
