#include "report/matroska_tracks.h"

#include <nlohmann/json.hpp>

#include "platform/error.h"

namespace tessaly {

std::vector<std::string> matroskaTrackTypes(const std::string& identified) {
  try {
    const nlohmann::json description = nlohmann::json::parse(identified);
    const nlohmann::json& container = description.at("container");
    if (!container.at("recognized").get<bool>() || container.value("type", "") != "Matroska") {
      throw Error("mkvmerge does not read it as a Matroska file");
    }
    std::vector<std::string> types;
    for (const nlohmann::json& track : description.at("tracks")) {
      types.push_back(track.at("type").get<std::string>());
    }
    return types;
  } catch (const nlohmann::json::exception&) {
    throw Error("mkvmerge -J gave no description of the file");
  }
}

}  // namespace tessaly
