#include "platform/paths.h"

namespace tessaly {

std::string fileNamePart(const std::string& path) {
  const auto cut = path.rfind(kSeparator);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string folderPart(const std::string& path) {
  const auto cut = path.rfind(kSeparator);
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool endsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace tessaly
