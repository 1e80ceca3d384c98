// The title phase of "Read XPL": the title that plays the chosen EVO file, shown in
// the tree, and its tracks' labels on the stream boxes.
#pragma once

#include <cstddef>
#include <string>

#include "playlist/xpl_run.h"
#include "shell/session.h"

namespace tessaly {

// The longest label the tree and the log show, in characters.
constexpr std::size_t kMaxLabel = 300;

// Adds an entry under the tree's top-level node `node`; false when the tree is full
// (32,768 entries), which the first entry left out says.
bool addTreeEntry(Session& session, std::size_t node, std::string text);

// Cuts mXPL to the title that mentions BaseName, rebuilds tvXPL from it, and labels,
// enables and ticks the boxes of its tracks. Marks labelled tracks in StreamTable.
void titlePhase(Session& session, XplRun& run);

}  // namespace tessaly
