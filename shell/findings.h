// What the last "Read EVO" or "Demux" found out about each stream, beside the stream
// table: the figures and time stamps of its packets, the outputs and the warnings. The
// report and the stream boxes' tooltips read it; the engine's port fills it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "shell/stream_table.h"

namespace tessaly {

// One stream-table slot over all passes of a job (both segments of a continued demux):
// every packet identified as the slot's stream (whatever its coding, as the output
// takes them all; MPEG-audio packets that follow the stream into its output are not).
struct StreamRecord {
  std::int32_t value = -1;         // the first value a pass of the job registered
  std::uint64_t packets = 0;       // packets identified as the slot's stream
  std::uint64_t bytes = 0;         // their payload bytes, as their lengths give them
  std::vector<std::uint8_t> ids;   // the identifying values met, in the order first met
  bool timed = false;              // a packet carried a PTS
  std::uint64_t timedPackets = 0;  // those that did: a subpicture stream's units
  std::uint64_t firstPts = 0;      // the first PTS met (33 bits, 90 kHz)
  std::int64_t lowest = 0;         // the smallest and largest PTS, in ticks from firstPts,
  std::int64_t highest = 0;        // unwrapped across the 33-bit wrap
  bool operator==(const StreamRecord&) const = default;
};

// The records of the 64 slots, by slot number 1..64.
class StreamRecords {
 public:
  StreamRecord& operator[](int slot) { return slots_.at(static_cast<unsigned>(slot - 1)); }
  const StreamRecord& operator[](int slot) const {
    return slots_.at(static_cast<unsigned>(slot - 1));
  }
  bool operator==(const StreamRecords&) const = default;

 private:
  std::array<StreamRecord, kSlots> slots_{};
};

struct Findings {
  std::string file;           // full path of the EVO file; empty: nothing found yet
  std::int64_t size = 0;      // its size in bytes
  std::string continuedWith;  // full path of the second segment, when the job continued
  StreamRecords streams;
  std::map<int, std::string> outputs;  // slot -> output file name, as "Creating " logs it
  std::vector<std::string> warnings;   // the passes' warning lines, as logged
};

}  // namespace tessaly
