// Stream identification: which elementary stream a packet carries, its stream
// number, and the stream table entry of the first packet of each slot.
#pragma once

#include <cstdint>

#include "engine/pass_port.h"
#include "engine/pass_state.h"
#include "engine/stream_slots.h"

namespace tessaly {

// Fills the stream table and reports each stream found to the observer.
class StreamRegistry {
 public:
  StreamRegistry(SlotTable& table, PassObserver& observer) : table_(table), observer_(observer) {}
  // Stores `value` in the slot of stream `number` of `group` when it still holds -1, and
  // reports it. A slot already filled keeps its first stream.
  void add(StreamGroup group, int number, std::int32_t value);

 private:
  SlotTable& table_;
  PassObserver& observer_;
};

// At a start code 00 00 01 E0..E3: MPEG-2 or H.264 video of number id & 1.
void identifyVideo(PassState& state, StreamRegistry& registry, std::uint8_t streamId);

// At the last byte of a 0xFD packet's extension-2 field: VC-1 video 0x55/0x56, or an
// Ignored packet for any other extension id.
void identifyExtension(PassState& state, StreamRegistry& registry, std::uint8_t extensionId);

// One byte of a private-stream-1 sub-header (the caller counts it in PacketLeft): the
// first byte identifies subpictures, the fourth classifies and accepts audio.
void subHeaderStep(PassState& state, StreamRegistry& registry, std::uint8_t byte);

// One of the three LPCM format bytes after the sub-header (counted by the caller); after
// the last one the payload starts as audio.
void lpcmStep(PassState& state, std::uint8_t byte);

// The MLP byte after the sub-header (counted by the caller); the payload starts as audio.
void mlpStep(PassState& state);

}  // namespace tessaly
