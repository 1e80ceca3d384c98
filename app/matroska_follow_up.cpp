#include "app/matroska_follow_up.h"

#include "job/break_lines.h"
#include "mux/mkvmerge_run.h"
#include "platform/paths.h"
#include "platform/write_room.h"
#include "report/matroska_tracks.h"
#include "report/report_json.h"
#include "session/demux_click.h"
#include "session/matroska_box.h"
#include "session/session_observer.h"
#include "session/session_report.h"

namespace tessaly::app {
namespace {

std::string reportName(const Session& s) {
  return OutputBase(s) + ".report.json";
}

std::vector<std::string> followUpNames(const Session& s) {
  std::vector<std::string> names = matroskaNames(matroskaRequest(s, nullptr));
  if (!names.empty()) names.push_back(reportName(s));
  return names;
}

void followUp(Session& s) {
  // A stopped demux gets neither (the step says why), as on the command line.
  if (!matroskaOutput(s).empty() && !s.StopRequested) {
    SessionObserver observer(s);
    const StreamBreaks breaks = s.Timing ? jobBreaks(*s.Timing) : StreamBreaks{};
    writeExtraFile(observer, reportName(s), reportJson(sessionReport(s), breaks));
  }
  matroskaStep(s, {nullptr, matroskaTrackTypes});
}

// With the box ticked, the film's folder and mkvmerge are looked at before the demux
// rather than after it. The demux's outputs go there too, but their folder is for the
// demux itself to fail on ("Cannot create file"), as it does without the box.
void checkFilm(const Session& s) {
  const MatroskaRequest request = matroskaRequest(s, nullptr);
  if (request.output.empty()) return;
  checkFolder(folderPart(request.output), false);
  requireMkvmerge(request.leaveOut);
}

}  // namespace

DemuxFollowUp matroskaFollowUp() {
  return {followUpNames, followUp, checkFilm};
}

}  // namespace tessaly::app
