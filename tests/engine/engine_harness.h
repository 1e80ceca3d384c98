// The engine without a window: passes over bytes in memory, reported as the jobs report
// them (catalogue's JobPort) to a recording observer, with every output entry's payload
// collected in memory.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "catalogue/findings.h"
#include "engine/pass.h"
#include "engine/pass_input.h"
#include "engine/pes_walker.h"
#include "job/output_set.h"
#include "support/recording_observer.h"
#include "support/temp_dir.h"

namespace tessaly::testing {

using Bytes = std::vector<std::uint8_t>;

class EngineHarness;

// A walker over the harness's stream table, reporting through the jobs' port, fed by hand.
class Walk {
 public:
  Walk(EngineHarness& harness, int mode);
  ~Walk();
  void feed(const std::uint8_t* data, std::size_t count) { walker_.feed(data, count); }
  const PassState& state() const { return walker_.state(); }

 private:
  MemoryInput input_;
  std::unique_ptr<PassObserver> port_;
  PesWalker walker_;
};

class EngineHarness {
 public:
  // Every one of the 34 output entries collects its stream.
  EngineHarness() { select({OutputSet::jobOrder().begin(), OutputSet::jobOrder().end()}); }

  // Only these entries are open.
  void select(const std::set<int>& slots);
  // Walks `bytes` through a fresh walker in pieces of the given sizes (cycled): mode 0
  // scans and logs the streams found, as "Read EVO" does; mode 1 writes.
  void walk(const Bytes& bytes, int mode, std::initializer_list<std::size_t> pieces = {1u << 30});
  // A whole pass over `input`, as a job runs it.
  PassEnd run(PassInput& input, int mode, bool fastCheck = false);
  PassEnd run(const Bytes& bytes, int mode, bool fastCheck = false);
  // The entry of `slot` writes into a file at `path` instead (its failures are real).
  void writeToFile(int slot, const std::string& path);
  // Closes every entry: later runs go nowhere.
  void closeOutputs() { entries_.closeAll(); }

  // The stream table as a map of its filled slots.
  std::map<int, std::int32_t> table() const;
  // What each selected entry collected, by slot.
  const std::map<int, Bytes>& outputs() const { return collected_; }

  RecordingObserver observer;
  SlotTable streams;
  Findings found;

 private:
  friend class Walk;
  OutputSet entries_;
  std::map<int, Bytes> collected_;
};

}  // namespace tessaly::testing
