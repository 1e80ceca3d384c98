// The state of one pass of the walk. Every field starts at its reset value, so a
// fresh PassState is the state at the start of a pass.
#pragma once

#include <cstdint>

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

// Coding of the last classified audio sub-stream.
enum class AudioCoding { DD, DDPlus, DtsHd, Lpcm, Mlp };

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
  std::uint64_t Scrambled = 0;  // packets whose PES scrambling control is not 00
};

}  // namespace tessaly
