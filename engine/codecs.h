// The codecs a pass identifies: the values that name each in the stream table, its name,
// the start of its "found!" log line, the name its stream box's caption begins with and
// the extension of its output when outputs are named by codec.
#pragma once

#include <array>
#include <cstdint>

#include "engine/stream_ids.h"
#include "engine/stream_slots.h"

namespace tessaly {

// Coding of an audio sub-stream of private stream 1.
enum class AudioCoding { DD, DDPlus, DtsHd, Lpcm, Mlp };

struct Codec {
  StreamGroup group;
  // The values that name the codec in the stream table, inclusive.
  std::uint8_t first;
  std::uint8_t last;
  // The codec's name in warnings and reports.
  const char* name;
  // The log line of a stream found: found + its number + " found!".
  const char* found;
  // A found stream's box caption: caption + "." + its number.
  const char* caption;
  // The extension its elementary stream goes by among the tools of the field.
  const char* extension;
  // Audio rows: the coding, and the bits of the sub-stream id that give the number.
  AudioCoding coding = AudioCoding::DD;
  std::uint8_t numberMask = 0;
};

// Audio rows in the order identification tests them. Subpicture slots hold the group
// value only (0x20 or 0x60); their caption rows cover 16 values.
inline constexpr std::array<Codec, 10> kCodecs{{
    {StreamGroup::Video, ps::kVc1Video0, ps::kVc1Video1, "VC-1", "VC-1 video stream ",
     "VC-1.stream", "vc1"},
    {StreamGroup::Video, ps::kMpeg2VideoFirst, ps::kMpeg2VideoLast, "MPEG-2",
     "MPEG-2 video stream ", "MPEG-2.stream", "m2v"},
    {StreamGroup::Video, ps::kH264VideoFirst, ps::kH264VideoLast, "H.264", "H.264 video stream ",
     "H.264.stream", "h264"},
    {StreamGroup::Audio, ps::kDdFirst, ps::kDdFirst + 7, "DD", "DD audio stream ", "DD.stream",
     "ac3", AudioCoding::DD, ps::kEightStreamsMask},
    {StreamGroup::Audio, ps::kDtsHdFirst, ps::kDtsHdFirst + 7, "DTS HD", "DTS HD audio stream ",
     "DTSHD.stream", "dts", AudioCoding::DtsHd, ps::kEightStreamsMask},
    {StreamGroup::Audio, ps::kDdPlusFirst, ps::kDdPlusFirst + 15, "DD+", "DD+ audio stream ",
     "DD+.stream", "eac3", AudioCoding::DDPlus, ps::kAudioNumberMask},
    {StreamGroup::Audio, ps::kLpcmFirst, ps::kLpcmFirst + 7, "LPCM", "LPCM audio stream ",
     "LPCM.stream", "pcm", AudioCoding::Lpcm, ps::kAudioNumberMask},
    {StreamGroup::Audio, ps::kMlpFirst, ps::kMlpFirst + 7, "MLP", "MLP audio stream ", "MLP.stream",
     "thd", AudioCoding::Mlp, ps::kEightStreamsMask},
    {StreamGroup::Sub, ps::kSubpicture, ps::kSubpicture + 15, "Subpicture", "Subpicture stream ",
     "Subpicture", "sup"},
    {StreamGroup::Sub, ps::kExtendedSubpicture, ps::kExtendedSubpicture + 15, "Extended subpicture",
     "Extended subpicture stream ", "Ext.Subpicture", "sup"},
}};

// The codec of a group that `value` names, or nullptr.
constexpr const Codec* codecOf(StreamGroup group, std::int32_t value) {
  for (const Codec& codec : kCodecs) {
    if (codec.group == group && value >= codec.first && value <= codec.last) return &codec;
  }
  return nullptr;
}

// The audio row of a coding.
constexpr const Codec& audioCodec(AudioCoding coding) {
  for (const Codec& codec : kCodecs) {
    if (codec.group == StreamGroup::Audio && codec.coding == coding) return codec;
  }
  return kCodecs.front();  // every coding has a row
}

}  // namespace tessaly
