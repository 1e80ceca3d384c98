#include "timing_harness.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <sstream>

#include "job/lpcm_samples.h"
#include "job/wav_writer.h"
#include "support/child_process.h"

namespace tessaly::testing {

using Bytes = std::vector<std::uint8_t>;

// Payload to the output file and to the timing.
class TimingPass::Tee final : public PayloadSink {
 public:
  Tee(int slot, const std::string& path, JobTiming& timing)
      : slot_(slot), file(path), timing_(timing) {}
  void write(const std::uint8_t* data, std::size_t size) override {
    file.write(data, size);
    timing_.payload(slot_, data, size);
  }
  int slot_;
  OutputFile file;

 private:
  JobTiming& timing_;
};

TimingPass::TimingPass(const TempDir& dir, JobTimingOptions options) : timing(options), dir_(dir) {}
TimingPass::~TimingPass() = default;

PayloadSink* TimingPass::payloadRun(int slot) {
  if (slot != kVideoSlot && (slot < 17 || slot > 32)) return nullptr;  // video 0 and audio
  for (auto& tee : tees_) {
    if (tee->slot_ == slot) return tee.get();
  }
  tees_.push_back(std::make_unique<Tee>(slot, output(slot), timing));
  return tees_.back().get();
}

std::string TimingPass::output(int slot) {
  for (auto& tee : tees_) {
    if (tee->slot_ == slot) tee->file.close();
  }
  return dir_.file("slot" + std::to_string(slot));
}

void writeAudio(tools::PsWriter& w, const tools::Stream& stream,
                std::span<const std::uint8_t> bytes, const std::vector<StampedUnit>& units,
                std::size_t piece) {
  std::size_t next = 0;
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    while (next < units.size() && units[next].offset < at) ++next;
    tools::PesFields fields{.pts = false};
    if (next < units.size() && units[next].offset < at + piece) {
      fields = {.time = static_cast<std::int64_t>(units[next].pts)};
    }
    w.pack(stream, bytes.subspan(at, std::min(piece, bytes.size() - at)), fields);
  }
}

JobTimingResult timeJob(const std::vector<std::string>& evos, TimingPass& pass) {
  SlotTable table;
  for (std::size_t n = 0; n < evos.size(); ++n) {
    if (n > 0) pass.timing.segmentStart();
    FileInput input(evos[n], Access::Shared);
    runPass(input, table, {PassMode::Write, false}, pass);
  }
  return pass.timing.finish();
}

namespace {

void copyRange(int from, std::uint64_t begin, std::uint64_t end, const std::string& to) {
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(out, 0);
  auto at = static_cast<off_t>(begin);
  for (std::uint64_t left = end - begin; left > 0;) {
    const ssize_t copied = ::copy_file_range(from, &at, out, nullptr, left, 0);
    ASSERT_GT(copied, 0);
    left -= static_cast<std::uint64_t>(copied);
  }
  ::close(out);
}

void wavPart(const Bytes& raw, const MkvPart& part, const LpcmFormat& format,
             const std::string& to) {
  Bytes samples;
  LpcmReorder(format).take(std::span(raw).subspan(part.begin, part.end - part.begin), samples);
  Bytes file = wavHeader(format, samples.size());
  file.insert(file.end(), samples.begin(), samples.end());
  writeFile(to, file);
}

}  // namespace

std::vector<MkvPacket> probePackets(const std::string& mkv, const TempDir& dir,
                                    const std::string& select) {
  std::vector<std::string> args{
      "-v", "error", "-show_entries", "packet=pts_time,duration_time,size", "-of", "csv=p=0", mkv};
  if (!select.empty()) args.insert(args.begin(), {"-select_streams", select});
  const auto run = runChild(program("ffprobe"), args, dir);
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<MkvPacket> packets;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    MkvPacket p;
    char comma = 0;
    std::istringstream fields(line);
    fields >> p.seconds >> comma >> p.duration >> comma >> p.size;
    packets.push_back(p);
  }
  return packets;
}

void expectPlayedAt(const std::vector<MkvPacket>& packets, const std::vector<double>& played) {
  ASSERT_EQ(packets.size(), played.size());
  double worst = 0;
  for (std::size_t n = 0; n < packets.size(); ++n) {
    worst = std::max(worst, std::abs(packets[n].seconds - played[n]));
  }
  EXPECT_LE(worst, 0.001 + 1e-9) << "seconds off the disc time";
}

std::vector<MkvPacket> muxParts(const std::string& raw, const std::vector<MkvPart>& parts,
                                const std::optional<LpcmFormat>& lpcm, const std::string& mkv,
                                const TempDir& dir) {
  std::vector<std::string> args{"-q", "-o", mkv};
  const int from = ::open(raw.c_str(), O_RDONLY);
  const Bytes rawBytes = lpcm ? readFile(raw) : Bytes{};
  for (std::size_t n = 0; n < parts.size(); ++n) {
    const std::string file = dir.file("part" + std::to_string(n) + (lpcm ? ".wav" : ""));
    if (lpcm) {
      wavPart(rawBytes, parts[n], *lpcm, file);
    } else {
      copyRange(from, parts[n].begin, parts[n].end, file);
    }
    if (n > 0) args.push_back("+");
    args.insert(args.end(), {"--sync", "0:" + std::to_string(parts[n].syncMs), file});
  }
  ::close(from);
  const auto run = runChild(program("mkvmerge"), args, dir);
  EXPECT_LE(run.status, 1) << run.out << run.err;  // 1: warnings only
  return probePackets(mkv, dir);
}

}  // namespace tessaly::testing
