// The audio times end to end, for the tests: a program stream walked by the engine with
// every audio stream's payload written to a raw output and fed to JobTiming (as a demux
// job's writing pass would feed it), then the Matroska parts cut from the raw output and
// muxed by mkvmerge, and the file read back by ffprobe.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio/job_timing.h"
#include "audio/lpcm_format.h"
#include "audio/matroska_parts.h"
#include "engine/pass.h"
#include "support/temp_dir.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {

// Writes the payload of video stream 0 and of each audio stream to `dir`/slotN and feeds
// the job's timing.
class TimingPass final : public PassObserver {
 public:
  explicit TimingPass(const TempDir& dir, JobTimingOptions options = {});
  ~TimingPass() override;

  void packetStart(const PacketStart& packet) override { timing.packetStart(packet); }
  PayloadSink* payloadRun(int slot) override;
  // The raw output of `slot`, closed.
  std::string output(int slot);

  JobTiming timing;

 private:
  class Tee;
  const TempDir& dir_;
  std::vector<std::unique_ptr<Tee>> tees_;
};

// An audio unit of a test stream: where it starts in the bytes written and its PTS.
struct StampedUnit {
  std::uint64_t offset;
  std::uint64_t pts;
};

// Writes `bytes` as packets of `piece` payload bytes, each stamped with the PTS of the
// first of `units` (in order) starting in it, or without a PTS when none does.
void writeAudio(tools::PsWriter& w, const tools::Stream& stream,
                std::span<const std::uint8_t> bytes, const std::vector<StampedUnit>& units,
                std::size_t piece);

// Walks the program streams `evos` (a job's segments) through one TimingPass.
JobTimingResult timeJob(const std::vector<std::string>& evos, TimingPass& pass);

// A packet of a Matroska file as ffprobe reads it.
struct MkvPacket {
  double seconds = 0;
  double duration = 0;
  std::uint64_t size = 0;
};

// The packets of the Matroska file `mkv` (of its streams `select`, as ffprobe's
// -select_streams names them: "a:1"; empty for all), as ffprobe reads them.
std::vector<MkvPacket> probePackets(const std::string& mkv, const TempDir& dir,
                                    const std::string& select = "");

// Every packet at the time `played` gives it, in order, within 1 ms.
void expectPlayedAt(const std::vector<MkvPacket>& packets, const std::vector<double>& played);

// The parts' files cut from `raw` (copied with copy_file_range; LPCM as WAV files of
// `lpcm`), muxed by mkvmerge into `mkv` with a "+" and a --sync each; its packets.
std::vector<MkvPacket> muxParts(const std::string& raw, const std::vector<MkvPart>& parts,
                                const std::optional<LpcmFormat>& lpcm, const std::string& mkv,
                                const TempDir& dir);

}  // namespace tessaly::testing
