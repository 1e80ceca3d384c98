#include "job/output_names.h"

#include <algorithm>
#include <stdexcept>

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
  const SlotGroup* group = groupOfSlot(slot);
  if (!group) throw std::out_of_range("slot " + std::to_string(slot) + " has no extension");
  return w.*group->extension;
}

std::string outputName(const std::string& outputBase, const std::string& caption,
                       const std::string& extension) {
  return outputBase + "." + namePart(caption) + "." + namePart(extension);
}

}  // namespace tessaly
