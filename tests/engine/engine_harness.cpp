#include "engine_harness.h"

#include <algorithm>
#include <memory>

#include "catalogue/job_port.h"
#include "engine/pass_input.h"
#include "job/raw_output.h"

namespace tessaly::testing {
namespace {

PassMode modeOf(int mode) {
  return mode == 0 ? PassMode::Scan : PassMode::Write;
}

class Collecting final : public StreamOutput {
 public:
  explicit Collecting(Bytes& bytes) : bytes_(bytes) {}
  void write(const std::uint8_t* data, std::size_t size) override {
    bytes_.insert(bytes_.end(), data, data + size);
  }
  void close() override {}

 private:
  Bytes& bytes_;
};

// The jobs' port, with the runs of a writing pass to the open entries.
class HarnessPort final : public JobPort {
 public:
  HarnessPort(JobObserver& observer, Findings& found, const PassInput& input, PassMode mode,
              OutputSet& entries)
      : JobPort(observer, found, input, mode, mode == PassMode::Scan), entries_(entries) {}
  PayloadSink* payloadRun(int slot) override { return entries_.find(slot); }

 private:
  OutputSet& entries_;
};

}  // namespace

void EngineHarness::select(const std::set<int>& slots) {
  entries_.closeAll();
  collected_.clear();
  for (int slot : slots) entries_.open(slot, std::make_unique<Collecting>(collected_[slot]));
}

Walk::Walk(EngineHarness& h, int mode)
    : input_({}),
      port_(std::make_unique<HarnessPort>(h.observer, h.found, input_, modeOf(mode), h.entries_)),
      walker_(h.streams, *port_, modeOf(mode)) {}

Walk::~Walk() = default;

void EngineHarness::writeToFile(int slot, const std::string& path) {
  entries_.open(slot, std::make_unique<RawOutput>(path));
  collected_.erase(slot);
}

void EngineHarness::walk(const Bytes& bytes, int mode, std::initializer_list<std::size_t> pieces) {
  Walk walker(*this, mode);
  std::size_t at = 0;
  for (auto piece = pieces.begin(); at < bytes.size();) {
    const std::size_t count = std::min(*piece, bytes.size() - at);
    walker.feed(bytes.data() + at, count);
    at += count;
    if (++piece == pieces.end()) piece = pieces.begin();
  }
}

PassEnd EngineHarness::run(PassInput& input, int mode, bool fastCheck) {
  HarnessPort port(observer, found, input, modeOf(mode), entries_);
  return runJobPass(input, streams, {modeOf(mode), fastCheck}, port, observer);
}

PassEnd EngineHarness::run(const Bytes& bytes, int mode, bool fastCheck) {
  MemoryInput input(bytes, "FEATURE_1.EVO");
  return run(input, mode, fastCheck);
}

std::map<int, std::int32_t> EngineHarness::table() const {
  std::map<int, std::int32_t> filled;
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (streams[slot] != -1) filled[slot] = streams[slot];
  }
  return filled;
}

}  // namespace tessaly::testing
