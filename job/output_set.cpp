#include "job/output_set.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

namespace tessaly {
namespace {

constexpr std::size_t kNoEntry = kOutputEntries + kRoutedEntries;

}  // namespace

bool OutputSet::hasEntry(int key) {
  return entryIndex(key) < kNoEntry;
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

const std::vector<int>& OutputSet::keyOrder() {
  static const std::vector<int> order = [] {
    std::vector<int> keys(jobOrder().begin(), jobOrder().end());
    const auto subpictures = std::find(keys.begin(), keys.end(), kSubSlot);
    std::vector<int> routed;
    for (int key = kFirstRoutedKey; key <= kKeys; ++key) routed.push_back(key);
    keys.insert(subpictures, routed.begin(), routed.end());
    return keys;
  }();
  return order;
}

std::size_t OutputSet::entryIndex(int key) {
  if (isRoutedKey(key)) return kOutputEntries + static_cast<std::size_t>(key - kFirstRoutedKey);
  std::size_t before = 0;  // entries of the groups before the slot's
  for (const SlotGroup& g : kSlotGroups) {
    const int number = key - g.firstSlot;
    if (number >= 0 && number < g.numbers) {
      return number < g.outputs ? before + static_cast<std::size_t>(number) : kNoEntry;
    }
    before += static_cast<std::size_t>(g.outputs);
  }
  return kNoEntry;
}

std::size_t OutputSet::checkedIndex(int key) {
  const std::size_t index = entryIndex(key);
  if (index == kNoEntry) throw std::out_of_range("key has no output entry");
  return index;
}

void OutputSet::open(int key, std::unique_ptr<StreamOutput> output) {
  entries_[checkedIndex(key)] = std::move(output);
}

StreamOutput* OutputSet::find(int key) {
  const std::size_t index = entryIndex(key);
  return index == kNoEntry ? nullptr : entries_[index].get();
}

void OutputSet::closeAll() {
  std::exception_ptr first;
  for (int key : keyOrder()) {
    auto& entry = entries_[entryIndex(key)];
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
