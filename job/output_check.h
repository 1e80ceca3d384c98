// The demux job's check of its output names, made before any output is created or
// truncated, so that a name that cannot be used fails the job with nothing touched.
#pragma once

#include <string>
#include <vector>

#include "shell/files.h"

namespace tessaly {

// Checks the names in order and throws "Cannot create file "%s". <reason>" for the first
// that is longer than its folder allows, repeats an earlier name, leads to one of
// `inputs`, is a folder or something else that is not a regular file, or lies in a
// folder that cannot be used.
void checkOutputNames(const std::vector<std::string>& names, const std::vector<FileId>& inputs);

}  // namespace tessaly
