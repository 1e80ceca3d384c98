// OutputStreams: one output entry per stream-table slot 1, 2 and 17..48, each
// closed or holding one open output file.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "shell/files.h"

namespace tessaly {

class OutputSet {
 public:
  // True for the 34 slots that have an entry.
  static bool hasEntry(int slot);
  // The slots with an entry in job order: 1, 2, 17..32, 33..48.
  static const std::array<int, 34>& jobOrder();

  // Creates the entry's file; throws "Cannot create file ..." and leaves it closed.
  void open(int slot, const std::string& path);
  // The open output of a slot, or nullptr when the slot has no open entry.
  OutputFile* find(int slot);
  // Closes every open entry in job order; the first failure is thrown after all
  // entries are closed.
  void closeAll();
  bool anyOpen() const;

 private:
  std::array<std::unique_ptr<OutputFile>, 48> entries_;  // index slot - 1
};

}  // namespace tessaly
