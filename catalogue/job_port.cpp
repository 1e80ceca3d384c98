#include "catalogue/job_port.h"

#include "engine/progress.h"

namespace tessaly {
namespace {

constexpr std::int64_t kRepaintStep = 67108864;  // 64 MiB: whole-window repaint

}  // namespace

JobPort::JobPort(JobObserver& observer, Findings& found, const PassInput& input, PassMode mode,
                 bool logFound)
    : observer_(observer), found_(found), logFound_(logFound), input_(input), mode_(mode) {}

void JobPort::streamFound(const StreamFound& found) {
  recordFound(found_.streams, found);
  if (logFound_) observer_.log(found.text + std::to_string(found.number) + " found!");
}

void JobPort::packetStart(const PacketStart& packet) {
  recordPacket(found_.streams, packet);
  shared_.add(packet);
}

void JobPort::progress(const PassProgress& p) {
  // One clock reading for both terms, so a file read at once shows one second left.
  const double left = remainingSeconds(p.elapsed, p.size, p.position);
  observer_.status(1, progressText(mode_ == PassMode::Write, input_.path(), p.position, p.size,
                                   remainingTimeText(left)));
  observer_.breathe();
  if (p.position % kRepaintStep == 0) observer_.repaint();
}

void JobPort::passEnded(const PassResult& result) {
  if (result.scrambled > 0) found_.warnings.push_back(scrambledWarning(result.scrambled));
  for (const std::string& line : shared_.warnings()) {
    observer_.log(line);
    found_.warnings.push_back(line);
  }
}

PassEnd runJobPass(PassInput& input, SlotTable& table, const PassOptions& options, JobPort& port,
                   JobObserver& observer) {
  observer.stoppableBegins(options.mode == PassMode::Write);
  const PassResult result = runPass(input, table, options, port);
  port.passEnded(result);
  observer.stoppableEnds();
  return result.end;
}

JobEnd jobEnd(PassEnd end) {
  switch (end) {
    case PassEnd::Stopped:
      return JobEnd::Stopped;
    case PassEnd::FastCheckLimit:
      return JobEnd::FastCheckLimit;
    case PassEnd::Complete:
      break;
  }
  return JobEnd::Complete;
}

}  // namespace tessaly
