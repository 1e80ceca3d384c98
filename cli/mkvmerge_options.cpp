#include "cli/mkvmerge_options.h"

#include <nlohmann/json.hpp>

#include "platform/error.h"

namespace tessaly::cli {

std::string mkvmergeOptionFile(const std::vector<std::string>& arguments) {
  try {
    return nlohmann::json(arguments).dump(2) + "\n";
  } catch (const nlohmann::json::type_error&) {
    throw Error("mkvmerge's option file is UTF-8, and a name in the call is not");
  }
}

}  // namespace tessaly::cli
