// What an output entry holds: the taker of one stream's payload in file order, told
// where each of the stream's packets begins. A raw output (OutputFile) only appends;
// a format writer also frames the stream by its packets' time stamps.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/payload_sink.h"

namespace tessaly {

class StreamOutput : public PayloadSink {
 public:
  // A packet of the output's stream begins; `pts` when its header carries one (90 kHz).
  virtual void packetStart(std::optional<std::uint64_t> /*pts*/) {}
  // The pass over one input file ended; returns the warning lines about what it wrote.
  virtual std::vector<std::string> passEnd() { return {}; }
  // Writes what is pending and closes; throws "Stream write error". Idempotent.
  virtual void close() = 0;
};

}  // namespace tessaly
