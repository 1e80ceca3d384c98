#include "session/matroska_box.h"

#include "session/demux_click.h"
#include "session/session_observer.h"
#include "session/session_report.h"

namespace tessaly {

std::string matroskaOutput(const Session& s) {
  return s.fMain.cbMatroska.ticked ? OutputBase(s) + ".mkv" : "";
}

MatroskaRequest matroskaRequest(const Session& s, const DemuxResult* demux) {
  // The window keeps the streams only when mkvmerge fails, and writes no option file.
  return {matroskaOutput(s),
          OutputBase(s) + ".chapters.xml",
          "",
          false,
          "untick \"Make a Matroska file (needs mkvmerge)\"",
          demux,
          chosenTitle(s)};
}

void matroskaStep(Session& s, const MatroskaJson& json) {
  const DemuxResult demux{s.StopRequested ? JobEnd::Stopped : JobEnd::Complete,
                          nullptr,
                          s.StreamTable,
                          s.Found,
                          s.Made,
                          s.Timing};
  SessionObserver observer(s);
  matroskaStep(matroskaRequest(s, &demux), observer, json);
}

}  // namespace tessaly
