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

EntryControls entryControls(const Window& w, int slot) {
  if (slot >= kVideoSlot && slot < kVideoSlot + 2) {
    return {w.cbVideo[static_cast<unsigned>(slot - kVideoSlot)], w.eVideoExt};
  }
  if (slot >= kAudioSlot && slot < kSubSlot) {
    return {w.cbAudio[static_cast<unsigned>(slot - kAudioSlot)], w.eAudioExt};
  }
  if (slot >= kSubSlot && slot < kSubSlot + static_cast<int>(kSubBoxes)) {
    return {w.cbSub[static_cast<unsigned>(slot - kSubSlot)], w.eSubExt};
  }
  throw std::out_of_range("slot " + std::to_string(slot) + " has no output entry");
}

std::string outputName(const std::string& outputBase, const std::string& caption,
                       const std::string& extension) {
  return outputBase + "." + namePart(caption) + "." + namePart(extension);
}

}  // namespace tessaly
