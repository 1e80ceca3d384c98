// What an output entry holds: the taker of one stream's payload in file order, told
// where each of the stream's packets begins. A raw output (RawOutput) only appends;
// a format writer also frames the stream by its packets' time stamps or sub-headers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/payload_sink.h"

namespace tessaly {

// What an output is told of each packet of its stream, before the packet's payload.
struct OutputPacket {
  std::optional<std::uint64_t> pts;          // when the header carries one (33 bits, 90 kHz)
  int codec = -1;                            // the payload's row of the engine's codec table,
                                             // -1 for none (MPEG audio)
  std::array<std::uint8_t, 3> lpcmFormat{};  // LPCM: the three format bytes of the sub-header
};

class StreamOutput : public PayloadSink {
 public:
  virtual void packetStart(const OutputPacket& /*packet*/) {}
  // The pass over one input file ended; returns the warning lines about what it wrote.
  virtual std::vector<std::string> passEnd() { return {}; }
  // Writes what is pending and closes; throws "Stream write error". Idempotent.
  virtual void close() = 0;
};

}  // namespace tessaly
