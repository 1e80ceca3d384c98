// "Read XPL": the playlist in the memo and the tree, its media attribute lists, the
// labels of the title that plays the chosen EVO file on the stream boxes, and the titles
// of the disc that holds the playlist.
#pragma once

#include "playlist/read_xpl.h"
#include "session/session.h"

namespace tessaly {

// The click handler of bReadXPL.
void bReadXPLClick(Session& session);

// Shows what a run did, also one that failed after opening the playlist: the memo, the
// tree, the attribute lists, the marks and the facts, and each label on its box (caption,
// hint for audio and subtitles, enabled and ticked as a click would).
void showXpl(Session& session, XplResult& result);

}  // namespace tessaly
