#include "job/output_set.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

namespace tessaly {

bool OutputSet::hasEntry(int slot) {
  return entryIndex(slot) < kOutputEntries;
}

const std::array<int, kOutputEntries>& OutputSet::jobOrder() {
  static const std::array<int, kOutputEntries> order = [] {
    std::array<int, kOutputEntries> slots{};
    std::size_t n = 0;
    for (const SlotGroup& g : kSlotGroups) {
      for (int number = 0; number < g.outputs; ++number) slots[n++] = g.firstSlot + number;
    }
    return slots;
  }();
  return order;
}

std::size_t OutputSet::entryIndex(int slot) {
  std::size_t before = 0;  // entries of the groups before the slot's
  for (const SlotGroup& g : kSlotGroups) {
    const int number = slot - g.firstSlot;
    if (number >= 0 && number < g.numbers) {
      return number < g.outputs ? before + static_cast<std::size_t>(number) : kOutputEntries;
    }
    before += static_cast<std::size_t>(g.outputs);
  }
  return kOutputEntries;
}

std::size_t OutputSet::checkedIndex(int slot) {
  const std::size_t index = entryIndex(slot);
  if (index == kOutputEntries) throw std::out_of_range("slot has no output entry");
  return index;
}

void OutputSet::open(int slot, std::unique_ptr<StreamOutput> output) {
  entries_[checkedIndex(slot)] = std::move(output);
}

StreamOutput* OutputSet::find(int slot) {
  const std::size_t index = entryIndex(slot);
  return index == kOutputEntries ? nullptr : entries_[index].get();
}

void OutputSet::closeAll() {
  std::exception_ptr first;
  for (auto& entry : entries_) {
    if (!entry) continue;
    try {
      entry->close();
      entry.reset();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
}

bool OutputSet::anyOpen() const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [](const auto& entry) { return entry != nullptr; });
}

}  // namespace tessaly
