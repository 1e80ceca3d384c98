// How a disc image and the files inside it are named to the operator.
#pragma once

#include <span>
#include <string>

#include "platform/error.h"

namespace tessaly {

// "IMAGE.iso:/HVDVD_TS/FEATURE_1.EVO": the image as it was given, a colon, then the file's
// path inside the image from its root.
std::string imagePath(const std::string& image, const std::string& inside);

// "/HVDVD_TS/FEATURE_1.EVO": the path inside an image that `names` lead to from its root
// ("/" for none).
std::string insidePath(std::span<const std::string> names);

// "Cannot read disc image "<full path>". <reason>": what every refusal of an image says.
Error imageError(const std::string& image, const std::string& reason);

}  // namespace tessaly
