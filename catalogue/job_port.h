// A pass as a job of the core reports it: the streams found and their packets' facts go
// into the job's findings, the progress into status panel 1 (a breath every 4 MiB, a
// repaint every 64 MiB), the pass's own lines into the log, and the stop test to the
// observer. "Read EVO" uses it as it is; "Demux" adds its outputs.
#pragma once

#include <string>

#include "catalogue/findings.h"
#include "engine/pass.h"
#include "engine/shared_outputs.h"
#include "platform/job_observer.h"

namespace tessaly {

class JobPort : public PassObserver {
 public:
  // `logFound`: each stream found is logged as "Read EVO" says it ("... found!").
  JobPort(JobObserver& observer, Findings& found, const PassInput& input, PassMode mode,
          bool logFound);

  void streamFound(const StreamFound& found) override;
  void packetStart(const PacketStart& packet) override;
  void progress(const PassProgress& progress) override;
  bool shouldStop() override { return observer_.stopRequested(); }
  void passLine(const std::string& line) override { observer_.log(line); }

  // After the pass: the scrambled-packet line (which the pass logged) and the lines for
  // outputs shared by several sources (logged here, in that order) join the findings.
  virtual void passEnded(const PassResult& result);

 protected:
  JobObserver& observer_;
  Findings& found_;
  bool logFound_;

 private:
  const PassInput& input_;
  PassMode mode_;
  SharedOutputs shared_;
};

// One pass of a job over `input`: a stretch the observer may stop (a writing pass asks
// first), its table in `table`, its reports through `port`.
PassEnd runJobPass(PassInput& input, SlotTable& table, const PassOptions& options, JobPort& port,
                   JobObserver& observer);

// The job's end for a pass's end.
JobEnd jobEnd(PassEnd end);

}  // namespace tessaly
