// "Demux title": the title selected on the titles page, every clip in title order, into
// the output folder, and with the box "Make a Matroska file (needs mkvmerge)" ticked into
// one Matroska file named after the title.
#pragma once

#include <string>

#include "session/session.h"

namespace tessaly {

// The click handler of bDemuxTitle.
void bDemuxTitleClick(Session& session);

// Where the title's outputs go: eWorkdir, or when it is empty the folder that holds the
// disc's folder or its image (never the disc itself). No final "/".
std::string titleOutputFolder(const Session& session);

}  // namespace tessaly
