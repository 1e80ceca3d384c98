#include "engine/identify.h"

#include <string>

#include "engine/stream_ids.h"
#include "shell/report.h"

namespace tessaly {
namespace {

// A row of the audio sub-stream table.
struct AudioRow {
  std::uint8_t first;
  std::uint8_t last;
  AudioCoding coding;
  std::uint8_t numberMask;
  const char* text;
};

// Tested in this order; the first row holding the id classifies it.
constexpr AudioRow kAudioRows[] = {
    {ps::kDdFirst, ps::kDdFirst + 7, AudioCoding::DD, ps::kEightStreamsMask, "DD audio stream "},
    {ps::kDtsHdFirst, ps::kDtsHdFirst + 7, AudioCoding::DtsHd, ps::kEightStreamsMask,
     "DTS HD audio stream "},
    {ps::kDdPlusFirst, ps::kDdPlusFirst + 15, AudioCoding::DDPlus, ps::kAudioNumberMask,
     "DD+ audio stream "},
    {ps::kLpcmFirst, ps::kLpcmFirst + 7, AudioCoding::Lpcm, ps::kAudioNumberMask,
     "LPCM audio stream "},
    {ps::kMlpFirst, ps::kMlpFirst + 7, AudioCoding::Mlp, ps::kEightStreamsMask,
     "MLP audio stream "},
};

// A subpicture group (ordinary or extended) at the first sub-header byte.
void identifySubpicture(PassState& s, StreamRegistry& registry, std::uint8_t id, std::uint8_t group,
                        const char* text) {
  if ((id & ps::kSubGroupMask) != group) return;
  s.SubNo = id & ps::kSubNumberMask;
  registry.add(kSubSlot + s.SubNo, group, text, s.SubNo);
  s.SubHeaderLeft = 0;
  s.Kind = PacketKind::Subpicture;
  s.InPayload = true;
}

// Sets AudioNo, and AudioSort/AudioBase for an id of the table, registering it.
void classifyAudio(PassState& s, StreamRegistry& registry, std::uint8_t id) {
  s.AudioNo = id & ps::kAudioNumberMask;
  for (const AudioRow& row : kAudioRows) {
    if (id < row.first || id > row.last) continue;
    s.AudioNo = id & row.numberMask;
    s.AudioSort = row.coding;
    s.AudioBase = id;
    registry.add(kAudioSlot + s.AudioNo, id, row.text, s.AudioNo);
    return;
  }
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

}  // namespace

void StreamRegistry::add(int slot, std::int32_t value, const char* text, int number) {
  std::int32_t& entry = session_.StreamTable[slot];
  if (entry != -1) return;
  entry = value;
  if (logging_) log(session_, text + std::to_string(number) + " found!");
}

void identifyVideo(PassState& s, StreamRegistry& registry, std::uint8_t streamId) {
  s.VideoNo = streamId & ps::kVideoNumberMask;
  const bool mpeg2 = streamId <= ps::kMpeg2VideoLast;
  registry.add(kVideoSlot + s.VideoNo, streamId,
               mpeg2 ? "MPEG-2 video stream " : "H.264 video stream ", s.VideoNo);
  s.Kind = PacketKind::Video;
}

void identifyExtension(PassState& s, StreamRegistry& registry, std::uint8_t extensionId) {
  if (extensionId != ps::kVc1Video0 && extensionId != ps::kVc1Video1) {
    s.Kind = PacketKind::Ignored;
    return;
  }
  s.VideoNo = extensionId - ps::kVc1Video0;
  registry.add(kVideoSlot + s.VideoNo, extensionId, "VC-1 video stream ", s.VideoNo);
  s.Kind = PacketKind::Video;
}

void subHeaderStep(PassState& s, StreamRegistry& registry, std::uint8_t byte) {
  --s.SubHeaderLeft;
  if (s.SubHeaderLeft == ps::kSubHeaderBytes - 1) {
    identifySubpicture(s, registry, byte, ps::kSubpicture, "Subpicture stream ");
    identifySubpicture(s, registry, byte, ps::kExtendedSubpicture, "Extended subpicture stream ");
    return;
  }
  if (s.SubHeaderLeft != 0) return;
  const auto id = static_cast<std::uint8_t>(s.Window >> 24);  // the first sub-header byte
  classifyAudio(s, registry, id);
  acceptAudio(s, id);
}

}  // namespace tessaly
