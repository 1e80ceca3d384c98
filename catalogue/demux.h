// The engine on the window's records: `demux` runs one pass over InputStream through a
// SessionPort, which shows the pass in the log and status bar, lets window events
// through, routes payload by the stream boxes' ticks to the open OutputStreams, and adds
// each stream and packet to the job's findings.
#pragma once

#include "engine/pass_port.h"
#include "engine/shared_outputs.h"
#include "shell/session.h"

namespace tessaly {

class SessionPort : public PassObserver {
 public:
  SessionPort(Session& session, PassMode mode) : s_(session), mode_(mode) {}

  // Logs text + number + " found!" when scanning.
  void streamFound(const StreamFound& found) override;
  // Adds the packet to the job's findings. When writing: notes the packet's PTS in the
  // job's time origin and tells the packet's start to the output that its payload goes to.
  void packetStart(const PacketStart& packet) override;
  // The open entry of the slot when its box is ticked now; nullptr otherwise.
  PayloadSink* payloadRun(int slot) override;
  // The progress text in status panel 1, window events, and a repaint every 64 MiB.
  void progress(const PassProgress& progress) override;
  bool shouldStop() override { return s_.StopRequested; }
  void passLine(const std::string& line) override;
  // The shared-output warnings of the pass so far.
  std::vector<std::string> sharedOutputWarnings() const { return shared_.warnings(); }

 private:
  StreamOutput* openOutput(int slot);

  Session& s_;
  PassMode mode_;
  SharedOutputs shared_;
};

// Mode 0 scans: fills StreamTable and logs each stream found. Mode 1 writes: also
// appends each selected stream's payload to its open OutputStreams entry, and after the
// pass logs the warnings of the open entries (in job order). Both add to the findings,
// and end with the warnings for outputs shared by several sources. Clears
// StopRequested at the start and leaves it set when the fast-check limit ended a scan;
// bCancel is enabled while the pass runs, and stays so when an error ends it.
void demux(Session& session, int mode);

}  // namespace tessaly
