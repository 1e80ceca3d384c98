#include "session/matroska_choice.h"

#include "session/demux_click.h"
#include "session/session_observer.h"
#include "session/session_report.h"

namespace tessaly {

std::string matroskaOutput(const Session& s) {
  if (!s.Matroska.output.empty()) return s.Matroska.output;
  return s.fMain.cbMatroska.ticked ? OutputBase(s) + ".mkv" : "";
}

MatroskaRequest matroskaRequest(const Session& s, const DemuxResult* demux) {
  return {matroskaOutput(s),     OutputBase(s) + ".chapters.xml",
          s.Matroska.optionFile, s.Matroska.keepStreams,
          s.Matroska.leaveOut,   demux,
          chosenTitle(s)};
}

void matroskaStep(Session& s, const MatroskaJson& json) {
  const DemuxResult demux{s.StopRequested ? JobEnd::Stopped : JobEnd::Complete, nullptr,
                          s.StreamTable, s.Found, s.Made};
  SessionObserver observer(s);
  matroskaStep(matroskaRequest(s, &demux), observer, json);
}

}  // namespace tessaly
