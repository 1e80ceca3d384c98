// The engine's port: what a pass reports while it walks an input, and what it asks.
// The window's records, a benchmark, a fuzzer or a report writer each implement the
// observer; the pass knows nothing else of its caller.
#pragma once

#include <cstdint>
#include <string>

#include "engine/output_keys.h"
#include "engine/pass_state.h"
#include "platform/payload_sink.h"

namespace tessaly {

// Scanning finds the streams; writing also hands every payload run to its sink.
enum class PassMode { Scan = 0, Write = 1 };

struct PassOptions {
  PassMode mode = PassMode::Scan;
  // A scan ends after the chunk that passes 300,000,000 bytes; a writing pass tells the
  // observer there.
  bool fastCheck = false;
  Routing routing = Routing::ByNumber;
};

// The first stream met for a slot in a pass; `value` is now in the stream table.
struct StreamFound {
  int slot;
  std::int32_t value;  // the identifying byte (stream, extension or sub-stream id)
  int number;          // the stream number
  const char* text;    // the start of its log line: text + number + " found!"
};

// A progress point: every 4 MiB of input.
struct PassProgress {
  std::int64_t position;  // bytes read, a multiple of 4 MiB
  std::int64_t size;      // the input's size
  double elapsed;         // seconds since the pass began
};

class PassObserver {
 public:
  virtual ~PassObserver() = default;
  // A stream took its slot in the stream table.
  virtual void streamFound(const StreamFound&) {}
  // A packet's header was walked: its kind and stream are settled, and its payload runs
  // (if any) follow. Fired once per packet whose payload is reached, in both modes.
  virtual void packetStart(const PacketStart&) {}
  // In writing mode, for each run of a packet whose output key is not 0 (its slot, when
  // routed by number): where the run goes, or nullptr for nowhere. Asked again for every run.
  virtual PayloadSink* payloadRun(int /*key*/) { return nullptr; }
  virtual void progress(const PassProgress&) {}
  // Asked before each 32 KB chunk: true ends the pass.
  virtual bool shouldStop() { return false; }
  // A writing pass with the fast check has walked the chunk where a scan would have ended.
  virtual void fastCheckLimitPassed() {}
  // A line of the pass itself: the system header's summary, the scrambled-packet warning.
  virtual void passLine(const std::string&) {}
};

}  // namespace tessaly
