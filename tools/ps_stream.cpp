#include "tools/ps_stream.h"

namespace tessaly::tools {
namespace {

constexpr std::uint8_t kPrivate1 = 0xBD;
constexpr std::uint8_t kExtended = 0xFD;

std::uint8_t byteOf(int value) {
  return static_cast<std::uint8_t>(value);
}

bool inRange(std::uint8_t value, int first, int last) {
  return value >= first && value <= last;
}

bool isSubpicture(std::uint8_t subId) {
  return (subId & 0xE0) == 0x20 || (subId & 0xE0) == 0x60;
}

// The audio number of a private-stream-1 sub-stream id of the HD DVD tables, or -1.
int audioNumber(std::uint8_t subId) {
  if (inRange(subId, 0x80, 0x8F) || inRange(subId, 0xB0, 0xB7)) return subId & 7;
  if (inRange(subId, 0xC0, 0xCF) || inRange(subId, 0xA0, 0xA7)) return subId & 0x0F;
  return -1;
}

bool isVc1(const Stream& s, bool hasExt2) {
  return s.id == kExtended && hasExt2 && (s.subId == 0x55 || s.subId == 0x56);
}

}  // namespace

Stream Stream::mpeg2(int n) {
  return {byteOf(0xE0 + n), 0};
}
Stream Stream::h264(int n) {
  return {byteOf(0xE2 + n), 0};
}
Stream Stream::vc1(int n) {
  return {kExtended, byteOf(0x55 + n)};
}
Stream Stream::mpegAudio(int n) {
  return {byteOf(0xC0 + n), 0};
}
Stream Stream::dd(int n) {
  return {kPrivate1, byteOf(0x80 + n)};
}
Stream Stream::dtsHd(int n) {
  return {kPrivate1, byteOf(0x88 + n)};
}
Stream Stream::ddPlus(int n) {
  return {kPrivate1, byteOf(0xC0 + n)};
}
Stream Stream::lpcm(int n) {
  return {kPrivate1, byteOf(0xA0 + n)};
}
Stream Stream::mlp(int n) {
  return {kPrivate1, byteOf(0xB0 + n)};
}
Stream Stream::subpicture(int n) {
  return {kPrivate1, byteOf(0x20 + n)};
}
Stream Stream::extSubpicture(int n) {
  return {kPrivate1, byteOf(0x60 + n)};
}
Stream Stream::private1(std::uint8_t subId) {
  return {kPrivate1, subId};
}

std::size_t subHeaderSize(const Stream& s) {
  if (s.id != kPrivate1) return 0;
  if (isSubpicture(s.subId)) return 1;
  if (inRange(s.subId, 0xA0, 0xA7)) return 7;  // + emphasis/quantisation/rate bytes
  if (inRange(s.subId, 0xB0, 0xB7)) return 5;  // + one MLP byte
  return 4;                                    // id, frame count, first access unit pointer
}

std::int32_t SlotModel::valueOf(const Stream& s, bool hasExt2) {
  if (inRange(s.id, 0xE0, 0xE3)) return s.id;
  if (isVc1(s, hasExt2)) return s.subId;
  if (s.id != kPrivate1) return -1;
  if (isSubpicture(s.subId)) return s.subId & 0xE0;
  return audioNumber(s.subId) < 0 ? -1 : s.subId;
}

int SlotModel::slotOf(const Stream& s, bool hasExt2) {
  if (inRange(s.id, 0xE0, 0xE3)) videoNo_ = s.id & 1;
  if (isVc1(s, hasExt2)) videoNo_ = s.subId - 0x55;
  if (inRange(s.id, 0xE0, 0xE3) || (s.id == kExtended && !hasExt2) || isVc1(s, hasExt2)) {
    return videoNo_ < 0 ? 0 : 1 + videoNo_;
  }
  if (inRange(s.id, 0xC0, 0xCF)) return audioNo_ < 0 ? 0 : 17 + audioNo_;
  if (s.id != kPrivate1) return 0;
  if (isSubpicture(s.subId)) return 33 + (s.subId & 0x1F);
  const int number = audioNumber(s.subId);
  audioNo_ = number < 0 ? (s.subId & 0x0F) : number;
  return number < 0 ? 0 : 17 + number;
}

}  // namespace tessaly::tools
