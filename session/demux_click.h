// "Demux": write every ticked stream of the chosen EVO file (and of its second segment)
// into an output file of its own.
#pragma once

#include <string>

#include "session/session.h"

namespace tessaly {

// The click handler of bDemux.
void bDemuxClick(Session& session);

// The output folder prefix: eWorkdir (with a final "/") followed by BaseName.
std::string OutputBase(const Session& session);

}  // namespace tessaly
