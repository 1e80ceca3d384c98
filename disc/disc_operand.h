// The disc that the operand of `disc` and `title` names, with the files it is read from.
#pragma once

#include <memory>
#include <string>

#include "disc/disc.h"
#include "engine/disc_files.h"

namespace tessaly {

struct DiscOperand {
  std::unique_ptr<const DiscFiles> files;  // kept while the disc's files are read
  Disc disc;
};

// A disc folder, or any file or folder in one, is read on disk as readDisc() reads it; any
// other regular file is a disc image, read in place (refused with the image named, also by
// a build without libudfread).
DiscOperand readDiscOperand(const std::string& operand);

}  // namespace tessaly
