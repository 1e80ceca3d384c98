// What a job learns of each stream from the packets of its passes: one StreamFacts per
// stream-table slot, gathered from the pass's port, for the report, the stream boxes'
// tooltips and the Matroska step. Later work adds its own figures here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/output_keys.h"
#include "engine/pass_port.h"
#include "engine/stream_slots.h"

namespace tessaly {

// One stream-table slot over all passes of a job (every segment of a demux): every packet
// identified as the slot's stream (whatever its coding, as the output takes them all;
// MPEG-audio packets that follow the stream into its output are not). Or one routed audio
// key: the packets of its number and source, `value` their first sub-stream (or stream) id.
struct StreamFacts {
  std::int32_t value = -1;         // the first value a pass of the job registered
  std::uint64_t packets = 0;       // packets identified as the slot's stream
  std::uint64_t bytes = 0;         // their payload bytes, as their lengths give them
  std::vector<std::uint8_t> ids;   // the identifying values met, in the order first met
  bool timed = false;              // a packet carried a PTS
  std::uint64_t timedPackets = 0;  // those that did: a subpicture stream's units
  std::uint64_t firstPts = 0;      // the first PTS met (33 bits, 90 kHz)
  std::int64_t lowest = 0;         // the smallest and largest PTS, in ticks from firstPts,
  std::int64_t highest = 0;        // unwrapped across the 33-bit wrap
  bool operator==(const StreamFacts&) const = default;
};

// The facts of the 64 slots and of the routed keys, by output key 1..kKeys.
class StreamFactsTable {
 public:
  StreamFacts& operator[](int slot) { return slots_.at(static_cast<unsigned>(slot - 1)); }
  const StreamFacts& operator[](int slot) const {
    return slots_.at(static_cast<unsigned>(slot - 1));
  }
  bool operator==(const StreamFactsTable&) const = default;

 private:
  std::array<StreamFacts, kKeys> slots_{};
};

// A stream found: its slot's facts keep the first value the job registered.
void recordFound(StreamFactsTable& streams, const StreamFound& found);

// A packet start of a stream: counted in its slot's facts with its identifying value and
// its PTS (MPEG-audio packets, and packets that belong to no slot, are not), and in its
// routed key's, when it has one.
void recordPacket(StreamFactsTable& streams, const PacketStart& packet);

// The stream's smallest PTS, as a 33-bit time stamp.
std::uint64_t smallestPts(const StreamFacts& facts);

// delay_ms of a found stream: its smallest PTS minus that of video stream 0 (without
// a timed video stream 0: of the earliest timed stream found), in milliseconds rounded
// to the nearest, halves away from zero. None when either has no PTS.
std::optional<std::int64_t> delayMs(const StreamFactsTable& streams, int slot);

}  // namespace tessaly
