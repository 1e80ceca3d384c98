// Stream identification: which elementary stream a packet carries, its stream
// number, and the stream table entry and log line of the first packet of each slot.
#pragma once

#include <cstdint>

#include "engine/pass_state.h"
#include "shell/session.h"

namespace tessaly {

// Fills the stream table; logs each stream found in scanning mode.
class StreamRegistry {
 public:
  StreamRegistry(Session& session, bool logging) : session_(session), logging_(logging) {}
  // Stores `value` in `slot` when it still holds -1 and, when logging, logs
  // text + number + " found!". A slot already filled keeps its first stream.
  void add(int slot, std::int32_t value, const char* text, int number);

 private:
  Session& session_;
  bool logging_;
};

// At a start code 00 00 01 E0..E3: MPEG-2 or H.264 video of number id & 1.
void identifyVideo(PassState& state, StreamRegistry& registry, std::uint8_t streamId);

// At the last byte of a 0xFD packet's extension-2 field: VC-1 video 0x55/0x56, or an
// Ignored packet for any other extension id.
void identifyExtension(PassState& state, StreamRegistry& registry, std::uint8_t extensionId);

// One byte of a private-stream-1 sub-header (the caller counts it in PacketLeft): the
// first byte identifies subpictures, the fourth classifies and accepts audio.
void subHeaderStep(PassState& state, StreamRegistry& registry, std::uint8_t byte);

// One of the extra LPCM or MLP bytes after the sub-header (counted by the caller);
// `left` is LpcmLeft or MlpLeft. After the last one the payload starts as audio.
template <typename Counter>
void extraByteStep(PassState& state, Counter& left) {
  if (--left == 0) {
    state.InPayload = true;
    state.Kind = PacketKind::Audio;
  }
}

}  // namespace tessaly
