// The volume of a build without libudfread: disc folders still open as before; an image is
// refused with the reason.
#include "disc_image/image_path.h"
#include "disc_image/udf_volume.h"

namespace tessaly {

std::unique_ptr<UdfVolume> openUdfVolume(std::shared_ptr<InputFile> image,
                                         std::int64_t /*structureBytes*/) {
  throw imageError(image->path(),
                   "This build of Tessaly reads disc folders only: it was built without "
                   "libudfread, which reads disc images.");
}

}  // namespace tessaly
