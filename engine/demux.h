// The program-stream engine: one pass over InputStream in 32 KB chunks.
#pragma once

#include "shell/session.h"

namespace tessaly {

// Mode 0 scans: fills StreamTable and logs each stream found. Any other mode also
// appends each selected stream's payload to its open OutputStreams entry.
// A pass that met scrambled packets ends with a warning line giving their count.
void demux(Session& session, int mode);

}  // namespace tessaly
