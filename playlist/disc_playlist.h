// Where a disc keeps its playlist: ADV_OBJ/VPLST000.XPL beside the video folder HVDVD_TS.
#pragma once

#include <string>

namespace tessaly {

inline constexpr const char* kPlaylistName = "VPLST000.XPL";

// The playlist folder (".../ADV_OBJ/") beside `videoFolder` when that is a disc's video
// folder (".../HVDVD_TS/", with its final separator); empty otherwise.
std::string discPlaylistFolder(const std::string& videoFolder);

}  // namespace tessaly
