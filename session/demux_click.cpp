#include "session/demux_click.h"

#include "catalogue/iso639.h"
#include "job/demux.h"
#include "job/output_set.h"
#include "platform/paths.h"
#include "session/invoke.h"
#include "session/selection.h"
#include "session/session_observer.h"
#include "session/session_report.h"

namespace tessaly {
namespace {

// The segments of the job: the chosen file, then, when "Continue with second  EVO" is
// ticked as the job starts and the file is the first of a numbered pair, the second one
// (FEATURE_1.EVO continues in FEATURE_2.EVO). The job reads the option again, and looks
// for the file, before it goes on.
std::vector<std::string> segments(const Session& s) {
  const std::string& path = s.fMain.eEVOfile.text;
  std::vector<std::string> files{path};
  if (s.fMain.cbContinue.ticked && endsWith(s.EVOname, "_1.EVO")) {  // case-sensitive on purpose
    files.push_back(path.substr(0, path.size() > 5 ? path.size() - 5 : 0) + "2.EVO");
  }
  return files;
}

OutputForms outputForms(const Session& s) {
  if (!s.fMain.cbForTools.ticked) return {s.Names, s.Lpcm, s.SubOutputs};
  return {OutputNames::Codec, LpcmOutputs::Wav, SubpictureOutputs::Timed};
}

// The job the window's controls ask for: an output for every ticked box, in job order,
// whatever the box's state or caption.
DemuxRequest demuxRequest(const Session& s) {
  const Window& w = s.fMain;
  DemuxRequest request;
  request.segments = segments(s);
  request.outputBase = OutputBase(s);
  request.extensions = {w.eVideoExt.text, w.eAudioExt.text, w.eSubExt.text};
  request.forms = outputForms(s);
  for (int slot : OutputSet::jobOrder()) {
    const CheckBox& box = slotBox(w, slot);
    if (!box.ticked) continue;
    request.outputs.push_back({slot, box.caption});
    const std::string language = playlistLanguage(chosenTitle(s), slot);
    if (knownLanguage(language)) request.languages[slot] = language;
  }
  if (s.FollowUp.names) request.alsoCreates = s.FollowUp.names(s);
  const auto& written = s.FollowUp.written;
  request.alsoCreates.insert(request.alsoCreates.end(), written.begin(), written.end());
  request.alsoReads = {w.eXPLfile.text, s.Playlist.file};
  request.scanned = s.Found.streams;  // "Read EVO"'s
  return request;
}

// The run of "Demux".
void demuxJob(Session& s) {
  auto& w = s.fMain;
  w.bDemux.enabled = false;
  w.PageControl = tsStatus;
  SessionObserver observer(s);
  DemuxResult result = runDemux(demuxRequest(s), observer);
  if (!result.found.file.empty()) {  // the file was opened
    s.StreamTable = result.table;
    s.Found = std::move(result.found);
    s.Made = std::move(result.made);
  }
  rethrowFailure(result.error);
  if (s.FollowUp.run) s.FollowUp.run(s);
  endJob(observer);
  w.bDemux.enabled = true;
}

}  // namespace

std::string OutputBase(const Session& s) {
  const std::string& folder = s.fMain.eWorkdir.text;
  if (folder.empty()) return s.BaseName;
  return folder + (folder.back() == kSeparator ? "" : "/") + s.BaseName;
}

void bDemuxClick(Session& s) {
  runJob(s, demuxJob);
}

}  // namespace tessaly
