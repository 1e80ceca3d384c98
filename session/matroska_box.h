// The Matroska step as the window asks for it: its request from the box "Make a Matroska
// file (needs mkvmerge)" and what the last "Demux" made, run with the window's log,
// status bar and Cancel.
#pragma once

#include <string>

#include "mux/matroska_step.h"
#include "session/session.h"

namespace tessaly {

// The Matroska file the job makes: OutputBase + ".mkv" when the window's box is ticked;
// empty for none.
std::string matroskaOutput(const Session& session);

// The step's request; `demux` may be nullptr while only its names are asked for.
MatroskaRequest matroskaRequest(const Session& session, const DemuxResult* demux);

// The step after the session's last "Demux" (stopped when StopRequested is set).
void matroskaStep(Session& session, const MatroskaJson& json);

}  // namespace tessaly
