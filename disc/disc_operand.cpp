#include "disc/disc_operand.h"

#include <filesystem>
#include <system_error>

#include "disc/disc_folder.h"
#include "disc_image/image_files.h"

namespace tessaly {
namespace {

bool namesImage(const std::string& operand) {
  std::error_code error;
  return std::filesystem::is_regular_file(operand, error) && !findDiscFolder(operand);
}

}  // namespace

DiscOperand readDiscOperand(const std::string& operand) {
  if (!namesImage(operand)) return {std::make_unique<FolderFiles>(), readDisc(operand)};
  auto image = std::make_unique<ImageFiles>(operand);
  Disc disc = readDisc(*image, image->root());
  return {std::move(image), std::move(disc)};
}

}  // namespace tessaly
