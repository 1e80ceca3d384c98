// How the outputs of a demux job are named: one file per output entry, in the
// output folder, after the EVO file, the entry's check box and its extension.
#pragma once

#include <string>

#include "shell/window.h"

namespace tessaly {

// The edit that holds the extension of a slot's group (slots 1..16: video; 17..32:
// audio; 33..64: subpicture); throws std::out_of_range for any other number.
const Edit& extensionEdit(const Window& window, int slot);

// outputBase + "." + caption + "." + extension. Captions may come from the disc's
// playlist, so a "/" or a NUL in the caption or the extension becomes "_": the name
// never leaves the output folder.
std::string outputName(const std::string& outputBase, const std::string& caption,
                       const std::string& extension);

}  // namespace tessaly
