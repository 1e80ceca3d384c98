// A title's demux and its film: every track of the title, and with a Matroska file asked
// for, the tracks muxed into it with the title's name and chapters, each track's language,
// description and flags. The command line's `title` and the window's "Demux title" share it.
#pragma once

#include <cstddef>

#include "disc/title_demux.h"
#include "mux/matroska_step.h"

namespace tessaly {

// Demuxes `request`'s title and, when `matroska.output` names a file, goes on to the
// Matroska step: the tracks take the film forms, and the step's files (the Matroska file,
// the chapter file "NAME.chapters.xml" beside the outputs) are checked with the outputs
// before any is made. The request's film, alsoCreates and the step's chapter file and
// title are set here. Throws what ended a failed demux or step; the front end ends the job.
struct TitleFilmResult {
  TitleDemuxResult demux;  // the title's outputs (removed again once they are in the film)
  std::size_t mkvmergeWarnings = 0;  // of the Matroska step
};

TitleFilmResult demuxTitleFilm(TitleDemuxRequest request, MatroskaRequest matroska,
                               JobObserver& observer, const MatroskaJson& json);

}  // namespace tessaly
