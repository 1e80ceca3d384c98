// OutputStreams: one output entry per stream-table slot 1, 2 and 17..48, each
// closed or holding one open output: a raw output file or a format writer.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "engine/stream_slots.h"
#include "job/stream_output.h"

namespace tessaly {

// The entries: in each slot group, the numbers that have an output.
constexpr std::size_t kOutputEntries = [] {
  std::size_t entries = 0;
  for (const SlotGroup& g : kSlotGroups) entries += static_cast<std::size_t>(g.outputs);
  return entries;
}();

class OutputSet {
 public:
  // True for the 34 slots that have an entry.
  static bool hasEntry(int slot);
  // The slots with an entry in job order: 1, 2, 17..32, 33..48.
  static const std::array<int, kOutputEntries>& jobOrder();

  // Makes `output` the entry's open output.
  void open(int slot, std::unique_ptr<StreamOutput> output);
  // The open output of a slot, or nullptr when the slot has no open entry.
  StreamOutput* find(int slot);
  // Closes every open entry in job order; the first failure is thrown after all
  // entries are closed. An entry whose close failed stays in the set (its file is
  // unfinished) until the set goes or closes it again.
  void closeAll();
  bool anyOpen() const;

 private:
  static std::size_t entryIndex(int slot);    // the slot's place in job order
  static std::size_t checkedIndex(int slot);  // the same; throws std::out_of_range for none

  std::array<std::unique_ptr<StreamOutput>, kOutputEntries> entries_;  // in job order
};

}  // namespace tessaly
