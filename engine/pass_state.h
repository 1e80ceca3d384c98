// The state of one pass of the walk. Every field starts at its reset value, so a
// fresh PassState is the state at the start of a pass.
#pragma once

#include <array>
#include <cstdint>

#include "engine/codecs.h"

namespace tessaly {

// What the current packet is.
enum class PacketKind {
  None,
  Video,
  Audio,
  Ignored,
  Skipped,
  MpegAudio,
  PrivateStream1,
  Subpicture
};

// What a packet's header told, gathered while it is walked and complete when its
// payload starts.
struct PacketStart {
  PacketKind kind = PacketKind::None;
  int slot = 0;               // the stream-table slot its payload belongs to; 0: none
  int route = 0;              // the output key its payload goes to (engine/output_keys.h); 0: none
  std::uint8_t streamId = 0;  // PES stream id
  std::uint8_t subId = 0;     // 0xBD: sub-stream id; 0xFD: extension stream id; else 0
  AudioCoding coding = AudioCoding::DD;  // AudioSort when the payload starts
  bool hasPts = false;
  bool hasDts = false;
  std::uint64_t pts = 0;  // 33-bit time stamps, 90 kHz
  std::uint64_t dts = 0;
  std::int32_t payload = 0;                  // payload bytes the packet's length leaves
  std::array<std::uint8_t, 3> lpcmFormat{};  // LPCM: the three bytes after the sub-header
};

// The codec of a packet's payload: by its stream id for video, by AudioSort for private-
// stream-1 audio, by the group bits of a subpicture's sub-stream id; nullptr for MPEG audio
// and packets whose payload goes nowhere.
constexpr const Codec* packetCodec(const PacketStart& packet) {
  switch (packet.kind) {
    case PacketKind::Video:
      if (packet.streamId == ps::kExtendedStreamId)
        return codecOf(StreamGroup::Video, ps::kVc1Video0);
      return codecOf(StreamGroup::Video, packet.streamId);
    case PacketKind::Audio:
      return &audioCodec(packet.coding);
    case PacketKind::Subpicture:
      return codecOf(StreamGroup::Sub, packet.subId & ps::kSubGroupMask);
    default:
      return nullptr;
  }
}

struct PassState {
  std::uint32_t Window = 0;  // the last four bytes examined, oldest in the top byte
  PacketKind Kind = PacketKind::None;
  std::int32_t PacketLeft = 0;   // bytes of the packet still to come, after its length field
  std::uint8_t LengthBytes = 0;  // bytes of the length field still to come
  std::int32_t SkipLeft = 0;     // bytes of a Skipped packet still to pass over
  std::uint8_t FixedLeft = 0;    // fixed header bytes still to come
  std::uint8_t PesFlags = 0;     // second fixed byte: PTS/DTS flags, extension flag
  std::uint8_t HeaderLeft = 0;   // header data bytes still to come
  std::uint32_t PtsLeft = 0;
  std::uint32_t PtsDtsLeft = 0;
  std::uint32_t ExtFlagsLeft = 0;
  std::uint8_t ExtFlags = 0;
  std::uint32_t PstdLeft = 0;
  std::uint32_t Ext2Left = 0;
  std::uint8_t SubHeaderLeft = 0;
  std::uint8_t LpcmLeft = 0;
  std::uint32_t MlpLeft = 0;
  bool InPayload = false;
  std::int32_t VideoNo = -1;
  std::int32_t AudioNo = -1;
  std::int32_t SubNo = -1;
  AudioCoding AudioSort = AudioCoding::DD;
  std::uint8_t AudioBase = 0;
  std::uint64_t Scrambled = 0;   // packets whose PES scrambling control is not 00
  std::uint64_t StampBytes = 0;  // the time-stamp bytes walked, the latest in the low byte
  PacketStart Packet;            // the current packet, as far as its header was walked
};

}  // namespace tessaly
