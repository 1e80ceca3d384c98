#include "engine/identify.h"

#include "engine/codecs.h"
#include "engine/stream_ids.h"

namespace tessaly {
namespace {

// A subpicture group (ordinary or extended) at the first sub-header byte.
void identifySubpicture(PassState& s, StreamRegistry& registry, std::uint8_t id,
                        std::uint8_t group) {
  if ((id & ps::kSubGroupMask) != group) return;
  s.SubNo = id & ps::kSubNumberMask;
  registry.add(StreamGroup::Sub, s.SubNo, group);
  s.SubHeaderLeft = 0;
  s.Kind = PacketKind::Subpicture;
  s.InPayload = true;
}

// Sets AudioNo, and AudioSort/AudioBase for an id of the codec table, registering it.
void classifyAudio(PassState& s, StreamRegistry& registry, std::uint8_t id) {
  s.AudioNo = id & ps::kAudioNumberMask;
  const Codec* codec = codecOf(StreamGroup::Audio, id);
  if (!codec) return;
  s.AudioNo = id & codec->numberMask;
  s.AudioSort = codec->coding;
  s.AudioBase = id;
  registry.add(StreamGroup::Audio, s.AudioNo, id);
}

// Whether the sub-stream belongs to the current audio number: LPCM and MLP go on to
// their extra bytes, other codings start their payload at once.
void acceptAudio(PassState& s, std::uint8_t id) {
  const auto number = static_cast<std::uint8_t>(s.AudioNo);
  switch (s.AudioSort) {
    case AudioCoding::Mlp:
      if (id == (number | ps::kMlpFirst)) {
        s.MlpLeft = ps::kMlpExtraBytes;
        return;
      }
      break;
    case AudioCoding::Lpcm:
      if (id == (number | ps::kLpcmFirst)) {
        s.LpcmLeft = ps::kLpcmExtraBytes;
        return;
      }
      break;
    default:
      if (id == (number | s.AudioBase)) {
        s.Kind = PacketKind::Audio;
        s.InPayload = true;
        return;
      }
  }
  s.Kind = PacketKind::Ignored;
  s.InPayload = true;
}

void startAudioPayload(PassState& s) {
  s.InPayload = true;
  s.Kind = PacketKind::Audio;
}

}  // namespace

void StreamRegistry::add(StreamGroup group, int number, std::int32_t value) {
  const int slot = slotGroup(group).firstSlot + number;
  std::int32_t& entry = table_[slot];
  if (entry != -1) return;
  entry = value;
  observer_.streamFound({slot, value, number, codecOf(group, value)->found});
}

void identifyVideo(PassState& s, StreamRegistry& registry, std::uint8_t streamId) {
  s.VideoNo = streamId & ps::kVideoNumberMask;
  registry.add(StreamGroup::Video, s.VideoNo, streamId);
  s.Kind = PacketKind::Video;
}

void identifyExtension(PassState& s, StreamRegistry& registry, std::uint8_t extensionId) {
  s.Packet.subId = extensionId;
  if (extensionId != ps::kVc1Video0 && extensionId != ps::kVc1Video1) {
    s.Kind = PacketKind::Ignored;
    return;
  }
  s.VideoNo = extensionId - ps::kVc1Video0;
  registry.add(StreamGroup::Video, s.VideoNo, extensionId);
  s.Kind = PacketKind::Video;
}

void subHeaderStep(PassState& s, StreamRegistry& registry, std::uint8_t byte) {
  --s.SubHeaderLeft;
  if (s.SubHeaderLeft == ps::kSubHeaderBytes - 1) {
    s.Packet.subId = byte;
    identifySubpicture(s, registry, byte, ps::kSubpicture);
    identifySubpicture(s, registry, byte, ps::kExtendedSubpicture);
    return;
  }
  if (s.SubHeaderLeft != 0) return;
  const auto id = static_cast<std::uint8_t>(s.Window >> 24);  // the first sub-header byte
  classifyAudio(s, registry, id);
  acceptAudio(s, id);
}

void lpcmStep(PassState& s, std::uint8_t byte) {
  s.Packet.lpcmFormat[ps::kLpcmExtraBytes - s.LpcmLeft] = byte;
  if (--s.LpcmLeft == 0) startAudioPayload(s);
}

void mlpStep(PassState& s) {
  if (--s.MlpLeft == 0) startAudioPayload(s);
}

}  // namespace tessaly
