// What "Demux" goes on to in the window when the Options page's box "Make a Matroska file
// (needs mkvmerge)" is ticked: the report beside the outputs, then the Matroska step (the
// chapters of the title "Read XPL" found for the EVO file, and mkvmerge's run).
#pragma once

#include "session/session.h"

namespace tessaly::app {

DemuxFollowUp matroskaFollowUp();

}  // namespace tessaly::app
