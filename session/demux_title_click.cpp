#include "session/demux_title_click.h"

#include <filesystem>

#include "disc/disc.h"
#include "disc/title_matroska.h"
#include "mux/mkvmerge_run.h"
#include "platform/paths.h"
#include "report/matroska_tracks.h"
#include "session/invoke.h"
#include "session/log.h"
#include "session/session_observer.h"
#include "session/space_question.h"
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

// Before the first clip is read: the output folder takes files (or can be made), the film
// has mkvmerge, and the free space covers the clips (and the film), or the operator goes on.
bool readyToWrite(Session& s, const TitleDemuxRequest& request, const MatroskaRequest& film) {
  checkFolder(request.outputFolder, true);
  if (!film.output.empty()) requireMkvmerge(film.leaveOut);
  const auto clips = static_cast<std::uint64_t>(evoBytes(request.title));
  return roomOrGoAhead(s, {request.outputFolder, film.output, clips});
}

// The run of "Demux title". The disc is held for the run: a drop cannot replace it.
void demuxTitleJob(Session& s) {
  const std::shared_ptr<const DiscOperand> disc = s.TitleDisc;
  const DiscTitle* title = selectedTitle(s);
  if (!title) return;
  TitleDemuxRequest request;
  request.videoFolder = disc->disc.videoFolder;
  request.title = *title;
  request.outputFolder = titleOutputFolder(s);
  request.files = disc->files.get();
  const MatroskaRequest matroska = matroskaRequest(s, request.outputFolder, *title);
  if (!readyToWrite(s, request, matroska)) return;
  s.fMain.PageControl = tsStatus;
  SessionObserver observer(s);
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
