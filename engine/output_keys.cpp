#include "engine/output_keys.h"

#include "engine/stream_ids.h"

namespace tessaly {

int routeOf(const PacketStart& packet, Routing routing) {
  if (routing == Routing::ByNumber) return packet.slot;
  switch (packet.kind) {
    case PacketKind::Audio:
      return routedKey(packet.slot - kAudioSlot, audioSource(packet.coding));
    case PacketKind::MpegAudio:
      return routedKey(packet.streamId - ps::kMpegAudioFirst, kMpegAudioSource);
    default:
      return packet.slot;
  }
}

}  // namespace tessaly
