// Which files are taken as MPEG program streams: by name (.EVO, .VOB, .MPG, .MPEG in any
// case) and by content (a pack header or a stream's PES start code near the start).
#pragma once

#include <string>

namespace tessaly {

// True for a name ending in .EVO, .VOB, .MPG or .MPEG, in any case.
bool programStreamName(const std::string& path);

// True when the first MiB of the file holds a pack header (00 00 01 BA) or the start code
// of a video, private or audio PES packet (00 00 01 E0, BD, C0..EF). An unreadable file
// throws the file layer's errors.
bool startsAsProgramStream(const std::string& path);

}  // namespace tessaly
