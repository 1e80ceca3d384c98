// What `mkvmerge -J` says of a Matroska file, read with the report's JSON library for the
// Matroska step's check that mkvmerge made the file it was asked for.
#pragma once

#include <string>
#include <vector>

namespace tessaly {

// The type of each track ("video", "audio", "subtitles"), in the file's order. Throws
// Error when the text is not mkvmerge's description of a Matroska file.
std::vector<std::string> matroskaTrackTypes(const std::string& identified);

}  // namespace tessaly
