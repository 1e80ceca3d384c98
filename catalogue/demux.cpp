#include "catalogue/demux.h"

#include <stdexcept>
#include <string>

#include "catalogue/catalogue.h"
#include "engine/pass.h"
#include "engine/progress.h"
#include "engine/stream_timing.h"
#include "shell/report.h"

namespace tessaly {
namespace {

constexpr std::int64_t kRepaintStep = 67108864;  // 64 MiB: whole-window repaint

OutputPacket outputPacket(const PacketStart& packet) {
  const Codec* codec = packetCodec(packet);
  return {packet.hasPts ? std::optional(packet.pts) : std::nullopt,
          codec ? static_cast<int>(codec - kCodecs.data()) : -1, packet.lpcmFormat};
}

void logPassEnd(Session& s) {
  for (int slot : OutputSet::jobOrder()) {
    if (StreamOutput* output = s.OutputStreams.find(slot)) {
      for (const std::string& line : output->passEnd()) log(s, line);
    }
  }
}

}  // namespace

void SessionPort::streamFound(const StreamFound& found) {
  recordFound(s_.Found.streams, found);
  if (mode_ == PassMode::Scan) log(s_, found.text + std::to_string(found.number) + " found!");
}

StreamOutput* SessionPort::openOutput(int slot) {
  // Ticks are read for every run; an entry the job did not open is never written.
  if (!OutputSet::hasEntry(slot) || !slotBox(s_.fMain, slot).ticked) return nullptr;
  return s_.OutputStreams.find(slot);
}

void SessionPort::packetStart(const PacketStart& packet) {
  recordPacket(s_.Found.streams, packet);
  shared_.add(packet);
  if (mode_ != PassMode::Write || packet.slot == 0) return;
  if (packet.hasPts) s_.Origin.note(packet.slot, packet.pts);
  if (StreamOutput* output = openOutput(packet.slot)) {
    output->packetStart(outputPacket(packet));
  }
}

PayloadSink* SessionPort::payloadRun(int slot) {
  return openOutput(slot);
}

void SessionPort::progress(const PassProgress& p) {
  // One clock reading for both terms, so a file read at once shows one second left.
  const double left = remainingSeconds(p.elapsed, p.size, p.position);
  slog(s_,
       progressText(mode_ == PassMode::Write, s_.InputStream->path(), p.position, p.size,
                    remainingTimeText(left)),
       1);
  s_.host.processMessages();
  if (p.position % kRepaintStep == 0) s_.host.repaint();
}

void SessionPort::passLine(const std::string& line) {
  log(s_, line);
}

void demux(Session& s, int mode) {
  if (!s.InputStream) throw std::logic_error("demux without an open InputStream");
  const PassMode passMode = mode == 0 ? PassMode::Scan : PassMode::Write;
  s.fMain.bCancel.enabled = true;
  s.StopRequested = false;
  s.Writing = passMode == PassMode::Write;
  SessionPort port(s, passMode);
  const PassOptions options{passMode, s.fMain.cbFastCheck.ticked};
  const PassResult result = runPass(*s.InputStream, s.StreamTable, options, port);
  if (result.limitReached) s.StopRequested = true;
  // Added after the scrambled-packet line that the pass itself ends with.
  if (result.scrambled > 0) s.Found.warnings.push_back(scrambledWarning(result.scrambled));
  for (const std::string& line : port.sharedOutputWarnings()) {
    log(s, line);
    s.Found.warnings.push_back(line);
  }
  if (passMode == PassMode::Write) logPassEnd(s);
  s.fMain.bCancel.enabled = false;
}

}  // namespace tessaly
