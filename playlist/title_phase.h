// The title phase of "Read XPL": the title that plays the chosen EVO file, shown in the
// tree, and its tracks' labels for the stream boxes.
#pragma once

#include <cstddef>
#include <optional>

#include "playlist/read_xpl.h"
#include "playlist/xpl_run.h"

namespace tessaly {

// Cuts the result's memo to the title around tag `match` (TitleMatch), rebuilds the tree
// from it, and labels its tracks: each label logged as "LABEL found!" and, for a track with
// a box, kept in the result's labels; marks the labelled tracks in the result's table. A
// failed number conversion throws, leaving what was done.
void titlePhase(XplResult& result, const std::optional<std::size_t>& match, XplRun& run,
                JobObserver& observer);

}  // namespace tessaly
