#include "disc_image/image_path.h"

#include "platform/files.h"

namespace tessaly {

std::string imagePath(const std::string& image, const std::string& inside) {
  return image + ":" + inside;
}

std::string insidePath(std::span<const std::string> names) {
  std::string path;
  for (const auto& name : names) path += "/" + name;
  return path.empty() ? "/" : path;
}

Error imageError(const std::string& image, const std::string& reason) {
  return Error("Cannot read disc image \"" + fullPath(image) + "\". " + reason);
}

}  // namespace tessaly
