// The title phase of "Read XPL": the title that plays the chosen EVO file, shown in
// the tree, and its tracks' labels on the stream boxes.
#pragma once

#include "playlist/xpl_run.h"
#include "shell/session.h"

namespace tessaly {

// Cuts mXPL to the title that mentions BaseName, rebuilds tvXPL from it, and labels,
// enables and ticks the boxes of its tracks. Marks labelled tracks in StreamTable.
void titlePhase(Session& session, XplRun& run);

}  // namespace tessaly
