// The sample disc's two playlists, shaped as real discs have them: VPLST000.XPL holds the
// titles (a studio logo, the feature over three clips, a menu loop), VPLST001.XPL, which
// the player boots being the higher-numbered, only a language selector without clips.
// Their clip times follow tools/sample_layout.h.
#pragma once

#include <string>

namespace tessaly::tools {

std::string titlesPlaylist();
std::string bootPlaylist();

}  // namespace tessaly::tools
