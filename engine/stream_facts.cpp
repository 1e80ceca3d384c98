#include "engine/stream_facts.h"

#include <algorithm>

#include "engine/pts.h"
#include "engine/stream_ids.h"

namespace tessaly {
namespace {

// The packets of a slot's stream: those identified as its video, audio or subpicture.
// MPEG-audio packets, which follow the current audio number into its output, are not
// the stream's own (the pass warns of them).
bool ownPacket(const PacketStart& p) {
  return p.slot != 0 && (p.kind == PacketKind::Video || p.kind == PacketKind::Audio ||
                         p.kind == PacketKind::Subpicture);
}

// The value that identifies the packet's stream: the sub-stream id in private stream 1,
// the extension id of a VC-1 packet, the stream id of MPEG-2 and H.264 video; none for a
// 0xFD packet without an extension id.
std::optional<std::uint8_t> identifyingValue(const PacketStart& p) {
  if (p.kind == PacketKind::MpegAudio) return p.streamId;
  if (p.kind != PacketKind::Video) return p.subId;
  if (p.streamId != ps::kExtendedStreamId) return p.streamId;
  if (p.subId != 0) return p.subId;
  return std::nullopt;
}

void addId(StreamFacts& r, std::uint8_t id) {
  if (std::find(r.ids.begin(), r.ids.end(), id) == r.ids.end()) r.ids.push_back(id);
}

void addPts(StreamFacts& r, std::uint64_t pts) {
  if (!r.timed) {
    r.timed = true;
    r.firstPts = pts;
    return;
  }
  const std::int64_t at = stampDistance(r.firstPts, pts);
  r.lowest = std::min(r.lowest, at);
  r.highest = std::max(r.highest, at);
}

bool foundAndTimed(const StreamFacts& r) {
  return r.value >= 0 && r.timed;
}

// Video stream 0 when it is timed, else the timed stream found whose smallest PTS comes
// first; 0 when none is timed.
int delayReference(const StreamFactsTable& streams) {
  if (foundAndTimed(streams[kVideoSlot])) return kVideoSlot;
  int reference = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (!foundAndTimed(streams[slot])) continue;
    if (reference == 0 ||
        stampDistance(smallestPts(streams[reference]), smallestPts(streams[slot])) < 0) {
      reference = slot;
    }
  }
  return reference;
}

void countPacket(StreamFacts& r, const PacketStart& p) {
  ++r.packets;
  r.bytes += static_cast<std::uint64_t>(std::max(p.payload, 0));
  if (const auto id = identifyingValue(p)) addId(r, *id);
  if (!p.hasPts) return;
  ++r.timedPackets;
  addPts(r, p.pts);
}

}  // namespace

void recordFound(StreamFactsTable& streams, const StreamFound& found) {
  StreamFacts& r = streams[found.slot];
  if (r.value < 0) r.value = found.value;
}

void recordPacket(StreamFactsTable& streams, const PacketStart& p) {
  if (ownPacket(p)) countPacket(streams[p.slot], p);
  if (!isRoutedKey(p.route)) return;
  StreamFacts& routed = streams[p.route];
  if (routed.value < 0) routed.value = *identifyingValue(p);
  countPacket(routed, p);
}

std::uint64_t smallestPts(const StreamFacts& r) {
  return stampAfter(r.firstPts, r.lowest);
}

std::optional<std::int64_t> delayMs(const StreamFactsTable& streams, int slot) {
  const int reference = delayReference(streams);
  if (reference == 0 || !foundAndTimed(streams[slot])) return std::nullopt;
  return roundedMs(stampDistance(smallestPts(streams[reference]), smallestPts(streams[slot])));
}

}  // namespace tessaly
