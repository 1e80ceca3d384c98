// tessaly-cli scan EVO [--full] [--json]: "Read EVO", then the streams as the window's
// boxes would show them, or the report.
#include <cstdio>

#include "catalogue/box_names.h"
#include "catalogue/captions.h"
#include "catalogue/job_report.h"
#include "catalogue/scan.h"
#include "cli/evo_steps.h"
#include "cli/verbs.h"
#include "job/output_set.h"
#include "report/report_json.h"

namespace tessaly::cli {
namespace {

// One line per stream found with an output entry, in job order: its box name, a tab and
// the caption "Read EVO" gives it.
void printStreams(const SlotTable& table) {
  for (int slot : OutputSet::jobOrder()) {
    if (table[slot] < 0) continue;
    std::printf("%s\t%s\n", slotBoxName(slot).c_str(), StreamCaption(slot, table[slot]).c_str());
  }
}

int runScan(CliObserver& observer, const Arguments& arguments) {
  const std::string evo = evoFile(singleOperand(arguments, "EVO file"));
  if (!programStreamInput(observer, evo)) return kJobFailed;
  const ScanResult result = scanEvo({evo, !arguments.has("--full")}, observer);
  if (!observer.succeeded([&] { rethrowFailure(result.error); })) return kJobFailed;
  // Only the fast check and a stop signal end a scan early on a command line.
  if (result.end == JobEnd::FastCheckLimit) {
    observer.showError("only the first 300 MB were read (fast check); --full reads the whole file");
  }
  endJob(observer);
  if (arguments.has("--json")) {
    std::fputs(reportJson(jobReport(result.found, nullptr, "")).c_str(), stdout);
  } else {
    printStreams(result.table);
  }
  return statusAfterJobs(observer);
}

}  // namespace

Verb scanVerb() {
  return {"scan",
          "EVO",
          "Reads EVO as \"Read EVO\" does: the log of the run, then one line per ticked\n"
          "      stream box: its name (cbVideo0, cbAudio03, cbSub12, ...), a tab, its caption.",
          {{"--full", "", "read the whole file (default: only its first ~300 MB)"},
           {"--json", "", "print the report (JSON) instead; the log goes to standard error"}},
          runScan,
          {"--json"}};
}

}  // namespace tessaly::cli
