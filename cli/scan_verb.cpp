// tessaly-cli scan EVO [--full] [--json]: "Read EVO", then the ticked boxes or the report.
#include <cstdio>

#include "cli/evo_steps.h"
#include "cli/verbs.h"
#include "report/report_json.h"
#include "session/selection.h"
#include "session/session_report.h"

namespace tessaly::cli {
namespace {

template <typename Boxes>
void printTicked(const Boxes& boxes, BoxGroup group) {
  for (std::size_t n = 0; n < boxes.size(); ++n) {
    if (!boxes[n].ticked) continue;
    std::printf("%s\t%s\n", boxName(group, static_cast<int>(n)).c_str(), boxes[n].caption.c_str());
  }
}

int runScan(Session& s, const Arguments& arguments) {
  const std::string evo = singleOperand(arguments, "EVO file");
  chooseEVO(s, evo);
  s.fMain.cbFastCheck.ticked = !arguments.has("--full");
  if (!readEVO(s)) return kJobFailed;
  if (arguments.has("--json")) {
    std::fputs(reportJson(sessionReport(s)).c_str(), stdout);
    return statusAfterJobs(s);
  }
  printTicked(s.fMain.cbVideo, BoxGroup::Video);
  printTicked(s.fMain.cbAudio, BoxGroup::Audio);
  printTicked(s.fMain.cbSub, BoxGroup::Sub);
  return statusAfterJobs(s);
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
