#include "session/demux_click.h"

#include "catalogue/iso639.h"
#include "job/demux.h"
#include "job/output_names.h"
#include "job/output_set.h"
#include "platform/paths.h"
#include "session/invoke.h"
#include "session/matroska_box.h"
#include "session/selection.h"
#include "session/session_observer.h"
#include "session/session_report.h"
#include "session/space_question.h"

namespace tessaly {
namespace {

// "Outputs for other tools" chooses every form; a Matroska file takes its own.
OutputForms outputForms(const Session& s) {
  if (s.fMain.cbForTools.ticked) {
    return {OutputNames::Codec, LpcmOutputs::Wav, SubpictureOutputs::Timed};
  }
  if (s.fMain.cbMatroska.ticked) return {s.Names, kFilmLpcm, kFilmSubpictures};
  return {s.Names, s.Lpcm, s.SubOutputs};
}

// The job the window's controls ask for: an output for every ticked box, in job order,
// whatever the box's state or caption.
DemuxRequest demuxRequest(const Session& s) {
  const Window& w = s.fMain;
  DemuxRequest request;
  // "Continue with second  EVO" as the job starts; the job reads the option again, and
  // looks for the file, before it goes on.
  request.segments = demuxSegments(s.fMain.eEVOfile.text, s.fMain.cbContinue.ticked);
  request.outputBase = OutputBase(s);
  request.extensions = {w.eVideoExt.text, w.eAudioExt.text, w.eSubExt.text};
  request.forms = outputForms(s);
  // Outputs for other tools: each coding of an audio number a file of its own.
  if (request.forms.names == OutputNames::Codec || w.cbMatroska.ticked) {
    request.routing = Routing::BySubStream;
  }
  for (int slot : OutputSet::jobOrder()) {
    const CheckBox& box = slotBox(w, slot);
    if (!box.ticked) continue;
    request.outputs.push_back({slot, box.caption});
    const std::string language = playlistLanguage(chosenTitle(s), slot);
    if (knownLanguage(language)) request.languages[slot] = language;
  }
  if (s.FollowUp.names) request.alsoCreates = s.FollowUp.names(s);
  request.alsoReads = {w.eXPLfile.text, s.Playlist.file};
  request.scanned = s.Found.streams;     // "Read EVO"'s
  request.timing = w.cbMatroska.ticked;  // every audio frame at its time in the film
  return request;
}

// The Matroska step after a whole demux. Its failure (mkvmerge missing, or failing) is
// shown as the job's error, but the demux had ended: "Demux" is enabled again, Cancel not.
void runFollowUp(Session& s) {
  try {
    s.FollowUp.run(s);
  } catch (...) {
    s.fMain.bDemux.enabled = true;
    s.fMain.bCancel.enabled = false;
    throw;
  }
}

// The run of "Demux".
void demuxJob(Session& s) {
  auto& w = s.fMain;
  if (s.FollowUp.check) s.FollowUp.check(s);
  const DemuxRequest request = demuxRequest(s);
  const SpaceNeed need{folderPart(request.outputBase), matroskaOutput(s),
                       filesSize(request.segments)};
  if (!roomOrGoAhead(s, need)) return;
  w.bDemux.enabled = false;
  w.PageControl = tsStatus;
  SessionObserver observer(s);
  DemuxResult result = runDemux(request, observer);
  if (!result.found.file.empty()) {  // the file was opened
    s.StreamTable = result.table;
    s.Found = std::move(result.found);
    s.Made = std::move(result.made);
    s.Timing = std::move(result.timing);
  }
  rethrowFailure(result.error);
  if (s.FollowUp.run) runFollowUp(s);
  endJob(observer);
  w.bDemux.enabled = true;
}

}  // namespace

std::string OutputBase(const Session& s) {
  return outputBase(s.fMain.eWorkdir.text, s.BaseName);
}

void bDemuxClick(Session& s) {
  runJob(s, demuxJob);
}

}  // namespace tessaly
