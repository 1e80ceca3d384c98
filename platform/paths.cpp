#include "platform/paths.h"

#include <algorithm>
#include <cctype>

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

std::string upperExtension(const std::string& path) {
  const std::string name = fileNamePart(path);
  const auto dot = name.rfind('.');
  std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return extension;
}

}  // namespace tessaly
