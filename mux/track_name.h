// The name a track has in the Matroska file: what the playlist describes it as, else a
// readable one made of what is known of it, never an output's caption (a file name part
// such as "DD+.6ch.stream.00" or "8bitRLC.stream.01").
#pragma once

#include <string>

#include "mux/mux_plan.h"

namespace tessaly {

// The description; else "Commentary" for a commentary track; else the language's English
// name, the codec and the channels, as known: "English DD+ 5.1", "French DTS-HD"; for
// video its codec ("VC-1"), for subpictures "English subtitles".
std::string trackName(const MuxSource& source);

}  // namespace tessaly
