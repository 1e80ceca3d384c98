// Identifiers and field sizes of the MPEG-2 program stream as HD DVD uses it. All
// multi-byte fields of the stream are big-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaly::ps {

// Start codes: 00 00 01 followed by a stream id.
constexpr std::uint32_t kStartCodePrefix = 0x000001;  // top three bytes of a start code

// PES stream ids the walk recognises.
constexpr std::uint8_t kProgramStreamMap = 0xBC;  // passed over whole
constexpr std::uint8_t kPrivateStream1 = 0xBD;    // audio and subpictures, with a sub-header
constexpr std::uint8_t kPadding = 0xBE;           // passed over whole
constexpr std::uint8_t kPrivateStream2 = 0xBF;    // navigation data (PCI, DSI), passed over
constexpr std::uint8_t kMpegAudioFirst = 0xC0;    // MPEG audio 0xC0..0xCF, no sub-header
constexpr std::uint8_t kMpegAudioLast = 0xCF;
constexpr std::uint8_t kMpeg2VideoFirst = 0xE0;  // MPEG-2 video 0 and 1
constexpr std::uint8_t kMpeg2VideoLast = 0xE1;
constexpr std::uint8_t kH264VideoFirst = 0xE2;  // H.264 video 0 and 1
constexpr std::uint8_t kH264VideoLast = 0xE3;
constexpr std::uint8_t kExtendedStreamId = 0xFD;  // the extension-2 field names the stream
constexpr std::uint8_t kVideoNumberMask = 0x01;   // video number: low bit of the stream id

// Extension stream ids (stream_id_extension of 0xFD packets).
constexpr std::uint8_t kExtensionIdMask = 0x7F;  // low seven bits of the field's 2nd byte
constexpr std::uint8_t kVc1Video0 = 0x55;
constexpr std::uint8_t kVc1Video1 = 0x56;

// Private-stream-1 sub-stream ids.
constexpr std::uint8_t kSubGroupMask = 0xE0;        // the group bits of a subpicture id
constexpr std::uint8_t kSubpicture = 0x20;          // 0x20..0x3F
constexpr std::uint8_t kExtendedSubpicture = 0x60;  // 0x60..0x7F
constexpr std::uint8_t kSubNumberMask = 0x1F;       // subpicture number 0..31
constexpr std::uint8_t kDdFirst = 0x80;             // DD 0x80..0x87
constexpr std::uint8_t kDtsHdFirst = 0x88;          // DTS-HD 0x88..0x8F
constexpr std::uint8_t kLpcmFirst = 0xA0;           // LPCM 0xA0..0xA7
constexpr std::uint8_t kMlpFirst = 0xB0;            // MLP 0xB0..0xB7
constexpr std::uint8_t kDdPlusFirst = 0xC0;         // DD+ 0xC0..0xCF
constexpr std::uint8_t kAudioNumberMask = 0x0F;     // audio number, first guess
constexpr std::uint8_t kEightStreamsMask = 0x07;    // DD, DTS-HD, MLP: numbers 0..7

// PES header fields.
constexpr std::uint8_t kLengthBytes = 2;        // PES packet length field
constexpr std::uint8_t kFixedBytes = 3;         // flags, flags, header data length
constexpr std::uint8_t kScramblingMask = 0x30;  // first fixed byte: PES scrambling control
constexpr std::uint8_t kTimeStampMask = 0xC1;   // PTS/DTS flags and PES extension flag
constexpr std::uint8_t kPtsDtsMask = 0xC0;      // PTS/DTS flags (bits 7..6)
constexpr std::uint8_t kPtsOnly = 0x80;         // '10': a PTS
constexpr std::uint8_t kPtsAndDts = 0xC0;       // '11': a PTS and a DTS
constexpr std::uint8_t kPesExtension = 0x01;    // PES extension flag (bit 0)
constexpr std::uint32_t kPtsBytes = 5;  // '0010' or '0011'/'0001', then 33 bits with markers
constexpr std::uint32_t kPtsDtsBytes = 10;
constexpr std::uint8_t kPstdFlag = 0x10;        // extension flags: P-STD buffer field
constexpr std::uint8_t kExtension2Flag = 0x01;  // extension flags: extension-2 field
constexpr std::uint32_t kPstdBytes = 2;
constexpr std::uint32_t kExtension2Bytes = 2;  // marker + length, then the extension id

// The 33-bit value of a time stamp field, its five bytes in the low 40 bits of `field`:
// bits 32..30 in the first byte, 29..15 and 14..0 in the next two pairs, each part
// followed by a marker bit.
constexpr std::uint64_t timeStamp(std::uint64_t field) {
  return ((field >> 33) & 0x07) << 30 | ((field >> 17) & 0x7FFF) << 15 | ((field >> 1) & 0x7FFF);
}

// Private-stream-1 sub-header: sub-stream id, frame count, first access unit pointer.
constexpr std::uint8_t kSubHeaderBytes = 4;
constexpr std::uint8_t kLpcmExtraBytes = 3;  // LPCM audio format bytes after the sub-header
constexpr std::uint32_t kMlpExtraBytes = 1;  // MLP byte after the sub-header

// System header, right after a 14-byte pack header at the start of a file.
constexpr std::size_t kSystemHeaderId = 16;  // bytes 16, 17: 01 BB
constexpr std::size_t kAudioBoundByte = 23;  // audio bound in bits 7..2
constexpr std::size_t kVideoBoundByte = 24;  // video bound in bits 4..0
constexpr std::uint8_t kSystemHeaderCode = 0xBB;
constexpr std::uint8_t kVideoBoundMask = 0x1F;

}  // namespace tessaly::ps
