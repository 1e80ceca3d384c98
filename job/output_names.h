// How the outputs of a demux job are named: one file per output entry, in the output
// folder, after the EVO file, the stream's caption and its extension.
#pragma once

#include <string>

namespace tessaly {

// The base name of an EVO file's outputs: its file name less the last four characters
// (".EVO"); empty for a name of four characters or fewer.
std::string baseName(const std::string& evoFileName);

// The outputs' folder and base name: `folder` (with a final "/" added when missing)
// followed by `baseName`; `baseName` alone for no folder.
std::string outputBase(const std::string& folder, const std::string& baseName);

// outputBase + "." + caption + "." + extension. Captions may come from the disc's
// playlist, so a "/" or a NUL in the caption or the extension becomes "_": the name
// never leaves the output folder. A caption too long for the folder's limit on file
// names (a playlist description may take 252 bytes) is cut, at a character's start, so
// that the name fits with its extension.
std::string outputName(const std::string& outputBase, const std::string& caption,
                       const std::string& extension);

// False when outputName cuts the caption for that extension.
bool captionFits(const std::string& outputBase, const std::string& caption,
                 const std::string& extension);

}  // namespace tessaly
