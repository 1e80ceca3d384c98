// The streams a test program stream can carry, named by their HD DVD identifiers,
// and the output slot each one's payload belongs to.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaly::tools {

// What a PES packet carries: its stream id and, for extended stream ids (0xFD) and
// private stream 1 (0xBD), the second identifier.
struct Stream {
  std::uint8_t id = 0;
  std::uint8_t subId = 0;  // 0xFD: stream_id_extension; 0xBD: sub-stream id

  static Stream mpeg2(int n);                  // 0xE0 + n
  static Stream h264(int n);                   // 0xE2 + n
  static Stream vc1(int n);                    // 0xFD with extension 0x55 + n
  static Stream mpegAudio(int n);              // 0xC0 + n, no sub-header
  static Stream dd(int n);                     // 0xBD, sub-stream 0x80 + n
  static Stream dtsHd(int n);                  // 0xBD, 0x88 + n
  static Stream ddPlus(int n);                 // 0xBD, 0xC0 + n
  static Stream lpcm(int n);                   // 0xBD, 0xA0 + n
  static Stream mlp(int n);                    // 0xBD, 0xB0 + n
  static Stream subpicture(int n);             // 0xBD, 0x20 + n
  static Stream extSubpicture(int n);          // 0xBD, 0x60 + n
  static Stream private1(std::uint8_t subId);  // 0xBD with any sub-stream id
};

// Bytes between the PES header and the payload: the sub-stream id and the rest of
// the private-stream-1 sub-header (1 for subpictures, 7 LPCM, 5 MLP, 4 otherwise);
// 0 for every other stream id.
std::size_t subHeaderSize(const Stream& stream);

// Where a demux puts each stream's payload, following the walk's stream numbers.
class SlotModel {
 public:
  // The stream-table slot receiving this packet's payload, or 0 for none. Updates the
  // current video and audio numbers as the packet does.
  int slotOf(const Stream& stream, bool hasExt2);
  // The value the stream registers in its slot (stream id, extension id, sub-stream id
  // or subpicture group), or -1 when it registers nothing.
  static std::int32_t valueOf(const Stream& stream, bool hasExt2);

 private:
  int videoNo_ = -1;
  int audioNo_ = -1;
};

}  // namespace tessaly::tools
