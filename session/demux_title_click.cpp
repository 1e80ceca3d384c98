#include "session/demux_title_click.h"

#include <filesystem>

#include "disc/title_matroska.h"
#include "mux/mkvmerge_run.h"
#include "platform/paths.h"
#include "report/matroska_tracks.h"
#include "session/invoke.h"
#include "session/log.h"
#include "session/session_observer.h"
#include "session/title_list.h"

namespace tessaly {
namespace {

std::string withoutFinalSeparators(std::string folder) {
  while (folder.size() > 1 && folder.back() == kSeparator) folder.pop_back();
  return folder;
}

// Where the title's outputs go: eWorkdir, or when it is empty the folder that holds the
// disc's folder or its image (never the disc itself). No final "/".
std::string titleOutputFolder(const Session& s) {
  const std::string& workdir = s.fMain.eWorkdir.text;
  if (!workdir.empty()) return withoutFinalSeparators(workdir);
  std::filesystem::path disc = std::filesystem::absolute(s.TitleDisc->disc.path).lexically_normal();
  if (!disc.has_filename()) disc = disc.parent_path();  // "/media/disc/"
  return disc.parent_path().string();
}

MatroskaRequest matroskaRequest(const Session& s, const std::string& folder,
                                const DiscTitle& title) {
  MatroskaRequest request;
  if (!s.fMain.cbMatroska.ticked) return request;
  request.output = folder + kSeparator + titleFileName(title) + ".mkv";
  request.leaveOut = "untick \"Make a Matroska file (needs mkvmerge)\"";
  return request;
}

// The run of "Demux title". The disc is held for the run: a drop cannot replace it.
void demuxTitleJob(Session& s) {
  const std::shared_ptr<const DiscOperand> disc = s.TitleDisc;
  const DiscTitle* title = selectedTitle(s);
  if (!title) return;
  s.fMain.PageControl = tsStatus;
  SessionObserver observer(s);
  TitleDemuxRequest request;
  request.videoFolder = disc->disc.videoFolder;
  request.title = *title;
  request.outputFolder = titleOutputFolder(s);
  request.files = disc->files.get();
  const MatroskaRequest matroska = matroskaRequest(s, request.outputFolder, *title);
  if (!matroska.output.empty()) requireMkvmerge(matroska.leaveOut);  // before the first clip
  const TitleDemuxResult result =
      demuxTitleFilm(request, matroska, observer, {nullptr, matroskaTrackTypes}).demux;
  // The clips' parts were created in scratch folders: the title's files are named here.
  if (matroska.output.empty()) {
    for (const TitleOutput& output : result.made) log(s, "Made " + output.name);
  }
  endJob(observer);
}

}  // namespace

void bDemuxTitleClick(Session& s) {
  runJob(s, demuxTitleJob);
}

}  // namespace tessaly
