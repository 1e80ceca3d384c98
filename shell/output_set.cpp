#include "shell/output_set.h"

#include <exception>

#include "shell/stream_table.h"

namespace tessaly {

bool OutputSet::hasEntry(int slot) {
  return slot == kVideoSlot || slot == kVideoSlot + 1 ||
         (slot >= kAudioSlot && slot < kSubSlot + 16);
}

const std::array<int, 34>& OutputSet::jobOrder() {
  static const std::array<int, 34> order = [] {
    std::array<int, 34> slots{};
    std::size_t n = 0;
    for (int slot = 1; slot <= 48; ++slot) {
      if (hasEntry(slot)) slots[n++] = slot;
    }
    return slots;
  }();
  return order;
}

void OutputSet::open(int slot, const std::string& path) {
  entries_.at(static_cast<unsigned>(slot - 1)) = std::make_unique<OutputFile>(path);
}

OutputFile* OutputSet::find(int slot) {
  if (slot < 1 || slot > 48) return nullptr;
  return entries_[static_cast<unsigned>(slot - 1)].get();
}

void OutputSet::closeAll() {
  std::exception_ptr first;
  for (int slot : jobOrder()) {
    auto& entry = entries_[static_cast<unsigned>(slot - 1)];
    if (!entry) continue;
    try {
      entry->close();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
    entry.reset();
  }
  if (first) std::rethrow_exception(first);
}

bool OutputSet::anyOpen() const {
  for (const auto& entry : entries_) {
    if (entry) return true;
  }
  return false;
}

}  // namespace tessaly
