// The stream records: what each packet start adds to its slot's record, the 33-bit wrap
// of the time stamps, and the delays between the streams.
#include "engine/stream_facts.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

constexpr std::uint64_t kWrap = std::uint64_t{1} << 33;

PacketStart packet(PacketKind kind, int slot, std::uint8_t streamId, std::uint8_t subId,
                   std::int64_t pts, std::int32_t payload = 100) {
  PacketStart p{.kind = kind, .slot = slot, .streamId = streamId, .subId = subId};
  p.hasPts = pts >= 0;
  p.pts = static_cast<std::uint64_t>(std::max<std::int64_t>(pts, 0));
  p.payload = payload;
  return p;
}

void found(StreamFactsTable& records, int slot, std::int32_t value) {
  recordFound(records, {slot, value, 0, ""});
}

TEST(StreamTimingTest, RecordsFiguresIdsAndTimeStampsAcrossTheWrap) {
  StreamFactsTable r;
  found(r, 1, 0xE0);
  found(r, 17, 0x80);
  found(r, 17, 0x88);  // a slot keeps the first value of the job
  const auto late = static_cast<std::int64_t>(kWrap - 45000);
  recordPacket(r, packet(PacketKind::Video, 1, 0xE0, 0, late));
  recordPacket(r, packet(PacketKind::Video, 1, 0xE0, 0, late - 3750));  // a B picture
  recordPacket(r, packet(PacketKind::Video, 1, 0xE0, 0, 3750));         // past the wrap
  recordPacket(r, packet(PacketKind::Video, 1, 0xE0, 0, -1));           // no PTS
  recordPacket(r, packet(PacketKind::Audio, 17, 0xBD, 0x88, 45000, 2000));
  recordPacket(r, packet(PacketKind::Audio, 17, 0xBD, 0x80, 44000, 1996));
  recordPacket(r, packet(PacketKind::MpegAudio, 17, 0xC0, 0, 40000, 500));  // not its own
  recordPacket(r, packet(PacketKind::Ignored, 0, 0xBD, 0x8F, 1, 9));        // nowhere

  EXPECT_EQ(r[1].value, 0xE0);
  EXPECT_EQ(r[1].packets, 4u);
  EXPECT_EQ(r[1].ids, (std::vector<std::uint8_t>{0xE0}));
  EXPECT_EQ(r[1].firstPts, kWrap - 45000);
  EXPECT_EQ(r[1].lowest, -3750);
  EXPECT_EQ(r[1].highest, 48750);
  EXPECT_EQ(smallestPts(r[1]), kWrap - 48750);

  EXPECT_EQ(r[17].value, 0x80);
  EXPECT_EQ(r[17].packets, 2u);
  EXPECT_EQ(r[17].bytes, 3996u);
  EXPECT_EQ(r[17].ids, (std::vector<std::uint8_t>{0x88, 0x80}));
  EXPECT_EQ(smallestPts(r[17]), 44000u);
  // 44000 - (2^33 - 48750) ticks across the wrap: 92750 ticks, 1030.6 ms.
  EXPECT_EQ(delayMs(r, 17), 1031);
  EXPECT_EQ(delayMs(r, 1), 0);
  EXPECT_EQ(delayMs(r, 18), std::nullopt);  // nothing found there
}

TEST(StreamTimingTest, DelaysRoundHalvesAwayFromZero) {
  StreamFactsTable r;
  const std::pair<int, std::int64_t> streams[] = {{1, 900000},  {17, 900045}, {18, 899955},
                                                  {19, 900044}, {20, 899956}, {21, 990000}};
  for (const auto& [slot, pts] : streams) {
    found(r, slot, slot == 1 ? 0x55 : 0xC0);
    recordPacket(r,
                 packet(slot == 1 ? PacketKind::Video : PacketKind::Audio, slot, 0xBD, 0xC0, pts));
  }
  EXPECT_EQ(delayMs(r, 17), 1);   // +0.5 ms
  EXPECT_EQ(delayMs(r, 18), -1);  // -0.5 ms
  EXPECT_EQ(delayMs(r, 19), 0);
  EXPECT_EQ(delayMs(r, 20), 0);
  EXPECT_EQ(delayMs(r, 21), 1000);
}

TEST(StreamTimingTest, WithoutTimedVideoTheEarliestStreamIsTheReference) {
  StreamFactsTable r;
  found(r, 1, 0x55);  // video without time stamps
  recordPacket(r, packet(PacketKind::Video, 1, 0xFD, 0x55, -1));
  found(r, 17, 0xC0);
  recordPacket(r, packet(PacketKind::Audio, 17, 0xBD, 0xC0, 5000));
  found(r, 18, 0xC1);  // earliest, though before the wrap
  recordPacket(r,
               packet(PacketKind::Audio, 18, 0xBD, 0xC1, static_cast<std::int64_t>(kWrap - 4000)));
  found(r, 33, 0x20);
  recordPacket(r, packet(PacketKind::Subpicture, 33, 0xBD, 0x25, 99000));
  EXPECT_EQ(delayMs(r, 18), 0);
  EXPECT_EQ(delayMs(r, 17), 100);
  EXPECT_EQ(delayMs(r, 33), 1144);
  EXPECT_EQ(delayMs(r, 1), std::nullopt);
  EXPECT_EQ(r[33].ids, (std::vector<std::uint8_t>{0x25}));  // the sub-stream id itself
}

}  // namespace
}  // namespace tessaly
