// tessaly-bench: the engine's speed on a large file, outside the tests. It drives the
// engine through its port alone, without the window's records.
//   tessaly-bench mux FILE BYTES SECONDS VIDEO DD DDPLUS MLP LPCM
//       multiplexes the elementary streams (MPEG-2 video of SECONDS, DD, DD+, MLP, and
//       16-bit 48 kHz stereo LPCM, big-endian) into a feature of BYTES bytes, each audio
//       packet stamped with the time of the first frame starting in it
//   tessaly-bench scan FILE          one full scanning pass (fast check off)
//   tessaly-bench demux FILE DIR     one writing pass, every stream to a file in DIR
//   tessaly-bench demux-timed FILE DIR   the same, every audio stream's payload also walked
//       into frames and timed (audio/job_timing.h), as the Matroska step's timing needs
//   tessaly-bench demux-checked FILE DIR   demux-timed, and MPEG-2 video stream 0 checked
//       against its pictures' timing
//   tessaly-bench read FILE          FILE read through in the engine's chunks
//   tessaly-bench read-image IMAGE PATH   the file at PATH inside the disc image read the same
//       way, through the disc image reader
// scan, the demux and the read verbs print "seconds=S cpu_seconds=C peak_rss_kib=K" for the
// pass; demux-timed and demux-checked then "frames=F breaks=B" over the audio streams.
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

#include "audio/job_timing.h"
#include "disc_image/disc_image.h"
#include "engine/pass.h"
#include "tools/audio_units.h"
#include "tools/byte_sink.h"
#include "tools/feature_mix.h"

namespace {

using namespace tessaly;
using tools::Stream;

// Every stream's payload to a file of its own, created at its first run; with a timing,
// every audio stream's payload is also walked and timed on the way.
class StreamFiles : public PassObserver {
 public:
  StreamFiles(std::string dir, JobTiming* timing) : dir_(std::move(dir)), timing_(timing) {}

  void packetStart(const PacketStart& packet) override {
    if (timing_) timing_->packetStart(packet);
  }
  PayloadSink* payloadRun(int slot) override {
    auto& file = files_[static_cast<std::size_t>(slot)];
    if (!file) file = std::make_unique<Tee>(dir_ + "/stream" + std::to_string(slot), slot, timing_);
    return file.get();
  }
  void closeAll() {
    for (auto& file : files_) {
      if (file) file->out.close();
    }
  }

 private:
  struct Tee final : PayloadSink {
    Tee(const std::string& path, int slot, JobTiming* timing)
        : out(path), slot_(slot), timing_(timing) {}
    void write(const std::uint8_t* data, std::size_t size) override {
      out.write(data, size);
      if (timing_) timing_->payload(slot_, data, size);
    }
    OutputFile out;

   private:
    int slot_;
    JobTiming* timing_;
  };

  std::string dir_;
  JobTiming* timing_;
  std::array<std::unique_ptr<Tee>, kSlots + 1> files_;  // by slot
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

// What the timing found: the frames walked and the breaks, over every audio stream.
void printTiming(const JobTimingResult& result) {
  std::uint64_t frames = 0;
  std::size_t breaks = 0;
  for (const AudioStreamTiming& stream : result.streams) {
    frames += stream.walk.frames;
    breaks += stream.timeline.breaks.size();
  }
  std::printf("frames=%llu breaks=%zu\n", static_cast<unsigned long long>(frames), breaks);
}

// argv[5..9]: the streams in the order of the usage line; the video and the LPCM play
// argv[4] seconds, the rest as long as their frames.
void mux(char** argv) {
  const double seconds = std::stod(argv[4]);
  const std::vector<std::uint8_t> video = readWhole(argv[5]);
  std::vector<tools::Elementary> streams = {
      {.stream = Stream::mpeg2(0),
       .bytes = video,
       .seconds = seconds,
       .framing = {.units = tools::mpeg2Framing(video).units, .entries = {}, .times = {}}},
      tools::framedAudio(Stream::dd(0), AudioCoding::DD, readWhole(argv[6])),
      tools::framedAudio(Stream::ddPlus(1), AudioCoding::DDPlus, readWhole(argv[7])),
      tools::framedAudio(Stream::mlp(2), AudioCoding::Mlp, readWhole(argv[8])),
      // One sample frame: 2 channels of 2 bytes.
      {.stream = Stream::lpcm(3),
       .bytes = readWhole(argv[9]),
       .seconds = seconds,
       .payloadMultiple = 4},
  };
  tools::FileSink sink(argv[2]);
  // LPCM format bytes: 16 bits, 48 kHz, 2 channels; no dynamic range control.
  tools::PsWriter writer(sink,
                         {.keepPayload = false, .audioBound = 4, .lpcmFormat = {0x00, 0x01, 0x80}});
  tools::FeatureMix(std::move(streams)).write(writer, std::stoull(argv[3]));
  sink.close();
}

// Reads every chunk the engine would ask for; prints the bytes.
template <class Input>
void readThrough(Input& input) {
  constexpr std::size_t kChunk = 32 * 1024;
  std::uint64_t bytes = 0;
  timed([&] {
    for (auto chunk = input.next(kChunk); !chunk.empty(); chunk = input.next(kChunk)) {
      bytes += chunk.size();
    }
  });
  std::printf("bytes=%llu\n", static_cast<unsigned long long>(bytes));
}

int run(int argc, char** argv) {
  const std::string verb = argc > 2 ? argv[1] : "";
  SlotTable table;
  if (verb == "mux" && argc == 10) {
    mux(argv);
  } else if (verb == "scan" && argc == 3) {
    FileInput input(argv[2], Access::Exclusive);
    PassObserver quiet;
    timed([&] { runPass(input, table, {PassMode::Scan, false}, quiet); });
  } else if ((verb == "demux" || verb == "demux-timed" || verb == "demux-checked") && argc == 4) {
    FileInput input(argv[2], Access::Exclusive);
    JobTiming timing({.checkVideo = verb == "demux-checked"});
    StreamFiles files(argv[3], verb != "demux" ? &timing : nullptr);
    JobTimingResult result;
    timed([&] {
      runPass(input, table, {PassMode::Write, false}, files);
      files.closeAll();
      result = timing.finish();
    });
    if (verb != "demux") printTiming(result);
  } else if (verb == "read" && argc == 3) {
    InputFile input(argv[2], Access::Exclusive);
    readThrough(input);
  } else if (verb == "read-image" && argc == 4) {
    const DiscImage image(argv[2], Access::Exclusive);
    const ImageEntry* entry = image.find(argv[3]);
    if (!entry) throw std::runtime_error(std::string("no ") + argv[3] + " in the image");
    ImageFile input = image.open(*entry);
    readThrough(input);
  } else {
    std::fprintf(stderr,
                 "usage: tessaly-bench mux FILE BYTES SECONDS VIDEO DD DDPLUS MLP LPCM"
                 " | scan FILE | demux FILE DIR | demux-timed FILE DIR | demux-checked FILE DIR"
                 " | read FILE | read-image IMAGE PATH\n");
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
