// OutputStreams: one output entry per stream-table slot 1, 2 and 17..48, and one per routed
// audio key (engine/output_keys.h), each closed or holding one open output: a raw output
// file or a format writer.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/output_keys.h"
#include "job/stream_output.h"

namespace tessaly {

// The slots' entries: in each slot group, the numbers that have an output.
constexpr std::size_t kOutputEntries = [] {
  std::size_t entries = 0;
  for (const SlotGroup& g : kSlotGroups) entries += static_cast<std::size_t>(g.outputs);
  return entries;
}();

constexpr std::size_t kRoutedEntries = static_cast<std::size_t>(kKeys - kSlots);

class OutputSet {
 public:
  // True for the 34 slots that have an entry and for the routed keys.
  static bool hasEntry(int key);
  // The slots with an entry in job order: 1, 2, 17..32, 33..48.
  static const std::array<int, kOutputEntries>& jobOrder();
  // Every key with an entry in job order: the routed audio keys after the audio slots.
  static const std::vector<int>& keyOrder();

  // Makes `output` the entry's open output.
  void open(int key, std::unique_ptr<StreamOutput> output);
  // The open output of a key, or nullptr when the key has no open entry.
  StreamOutput* find(int key);
  // Closes every open entry in job order; the first failure is thrown after all
  // entries are closed. An entry whose close failed stays in the set (its file is
  // unfinished) until the set goes or closes it again.
  void closeAll();
  bool anyOpen() const;

 private:
  static std::size_t entryIndex(int key);    // the key's place among the entries
  static std::size_t checkedIndex(int key);  // the same; throws std::out_of_range for none

  std::array<std::unique_ptr<StreamOutput>, kOutputEntries + kRoutedEntries> entries_;
};

}  // namespace tessaly
