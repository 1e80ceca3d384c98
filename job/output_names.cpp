#include "job/output_names.h"

#include <algorithm>

#include "shell/paths.h"
#include "shell/stream_table.h"

namespace tessaly {
namespace {

// A part of a file name: neither a folder separator nor a NUL (which would cut the
// path short) may come from it.
std::string namePart(std::string text) {
  std::replace(text.begin(), text.end(), kSeparator, '_');
  std::replace(text.begin(), text.end(), '\0', '_');
  return text;
}

}  // namespace

const Edit& extensionEdit(const Window& w, int slot) {
  if (slot < kAudioSlot) return w.eVideoExt;
  return slot < kSubSlot ? w.eAudioExt : w.eSubExt;
}

std::string outputName(const std::string& outputBase, const std::string& caption,
                       const std::string& extension) {
  return outputBase + "." + namePart(caption) + "." + namePart(extension);
}

}  // namespace tessaly
