#include "playlist/disc_playlist.h"

#include "platform/paths.h"

namespace tessaly {
namespace {

constexpr const char* kDiscVideoFolder = "HVDVD_TS/";
constexpr const char* kDiscPlaylistFolder = "ADV_OBJ/";

}  // namespace

std::string discPlaylistFolder(const std::string& videoFolder) {
  const std::string discFolder = kDiscVideoFolder;
  if (!endsWith(videoFolder, discFolder)) return "";
  return videoFolder.substr(0, videoFolder.size() - discFolder.size()) + kDiscPlaylistFolder;
}

}  // namespace tessaly
