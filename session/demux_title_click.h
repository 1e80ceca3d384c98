// "Demux title": the title selected on the titles page, every clip in title order, into
// the output folder, and with the box "Make a Matroska file (needs mkvmerge)" ticked into
// one Matroska file named after the title. The output folder is eWorkdir, or when it is
// empty the folder that holds the disc's folder or its image, never the disc itself.
#pragma once

#include "session/session.h"

namespace tessaly {

// The click handler of bDemuxTitle.
void bDemuxTitleClick(Session& session);

}  // namespace tessaly
