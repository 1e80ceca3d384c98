// The PES header walk, byte by byte: counters, the order of the header steps, and the
// packets that must be passed over.
#include <gtest/gtest.h>

#include "engine_harness.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

Bytes packOf(const Stream& stream, std::size_t payload, const tools::PesFields& fields = {}) {
  tools::MemorySink sink;
  tools::PsWriter writer(sink);
  writer.pack(stream, payload, fields);
  return sink.bytes;
}

TEST(HeaderWalkTest, PrivateStream1PacketCountsDownAsTheFormatSays) {
  const Bytes pack = packOf(Stream::ddPlus(0), tools::PsWriter::kFill);
  EngineHarness h;
  Walk walker(h, 0);
  const PassState& s = walker.state();
  auto feed = [&](std::size_t from, std::size_t to) { walker.feed(pack.data() + from, to - from); };
  feed(0, 18);  // pack header, 00 00 01 BD
  EXPECT_EQ(s.Kind, PacketKind::PrivateStream1);
  EXPECT_EQ(s.LengthBytes, 2);
  feed(18, 20);  // 07 EC
  EXPECT_EQ(s.PacketLeft, 2028);
  EXPECT_EQ(s.FixedLeft, 3);
  feed(20, 23);  // 81 80 05
  EXPECT_EQ(s.PesFlags, 0x80);
  EXPECT_EQ(s.HeaderLeft, 5);
  EXPECT_EQ(s.PtsLeft, 5u);
  EXPECT_EQ(s.PacketLeft, 2025);
  feed(23, 28);  // the PTS
  EXPECT_EQ(s.PacketLeft, 2020);
  EXPECT_EQ(s.HeaderLeft, 0);
  EXPECT_EQ(s.SubHeaderLeft, 4);
  feed(28, 31);  // C0 01 00
  EXPECT_EQ(s.AudioNo, -1);
  feed(31, 32);  // 05: the sub-stream is classified
  EXPECT_EQ(s.PacketLeft, 2016);
  EXPECT_EQ(s.AudioNo, 0);
  EXPECT_EQ(s.AudioSort, AudioCoding::DDPlus);
  EXPECT_EQ(s.Kind, PacketKind::Audio);
  EXPECT_TRUE(s.InPayload);
  EXPECT_EQ(h.streams[17], 0xC0);
  EXPECT_EQ(h.observer.logged, (std::vector<std::string>{"DD+ audio stream 0 found!"}));
  feed(32, 2048);  // the payload, in one run
  EXPECT_EQ(s.PacketLeft, 0);
  EXPECT_FALSE(s.InPayload);
  EXPECT_EQ(s.Window, 0x01000500u | pack[32]) << "only the run's first byte enters Window";
}

TEST(HeaderWalkTest, PtsAndDtsHeaderLeadsStraightToPayloadOrSubHeader) {
  for (const Stream& stream : {Stream::mpeg2(1), Stream::dd(2)}) {
    const Bytes pack = packOf(stream, 100, {.dts = true});
    ASSERT_EQ(pack[21], 0xC0);
    ASSERT_EQ(pack[22], 10);
    EngineHarness h;
    Walk walker(h, 0);
    walker.feed(pack.data(), 33);  // through the tenth time-stamp byte
    const bool audio = stream.id == 0xBD;
    EXPECT_EQ(walker.state().InPayload, !audio);
    EXPECT_EQ(walker.state().SubHeaderLeft, audio ? 4 : 0);
    EXPECT_EQ(walker.state().PtsDtsLeft, 0u);
  }
}

TEST(HeaderWalkTest, SkippedBodiesAreNotSearchedForStartCodes) {
  const Bytes code{0x00, 0x00, 0x01, 0xE0, 0x00, 0x03, 0x81, 0x00, 0x00};
  for (std::uint8_t id : {0xBC, 0xBE, 0xBF}) {
    Bytes packet{0x00, 0x00, 0x01, id, 0x00, static_cast<std::uint8_t>(code.size() + 2), 0xFF};
    for (std::uint8_t byte : code) packet.push_back(byte);
    packet.push_back(0xFF);
    EngineHarness h;
    h.walk(packet, 0, {1});
    EXPECT_TRUE(h.table().empty()) << int(id);
    // A recognised start code inside an unrecognised packet's body is found.
    packet[3] = 0xBA;
    h.walk(packet, 0);
    EXPECT_EQ(h.table(), (std::map<int, std::int32_t>{{1, 0xE0}}));
  }
}

TEST(HeaderWalkTest, WindowAfterSkippedBodyHoldsItsLastBytes) {
  // The body ends in 00 00 01, so its last bytes and the next byte form a start code.
  const Bytes bytes{0x00, 0x00, 0x01, 0xBE, 0x00, 0x05, 0x11, 0x22, 0x00, 0x00, 0x01, 0xE1};
  for (std::size_t piece : {1ul, 2ul, 9ul, 100ul}) {
    EngineHarness h;
    h.walk(bytes, 0, {piece});
    EXPECT_EQ(h.table(), (std::map<int, std::int32_t>{{2, 0xE1}})) << piece;
  }
}

TEST(HeaderWalkTest, EmptyPayloadRedispatchesItsByteIntoWindowTwice) {
  // A video packet of length 3: the payload starts empty at the byte after it.
  Bytes bytes{0x00, 0x00, 0x01, 0xE0, 0x00, 0x03, 0x81, 0x00, 0x00, 0x42};
  EngineHarness h;
  Walk walker(h, 0);
  walker.feed(bytes.data(), bytes.size());
  EXPECT_EQ(walker.state().Window, 0x00004242u);
  EXPECT_FALSE(walker.state().InPayload);
  // So "00 00 | 01 BD" across such a packet's end is no start code.
  bytes.back() = 0x01;
  bytes.insert(bytes.end(), {0xBD, 0x00, 0x08, 0x81, 0x00, 0x00, 0x80, 1, 0, 5, 9});
  h.walk(bytes, 0, {1});
  EXPECT_EQ(h.table(), (std::map<int, std::int32_t>{{1, 0xE0}}));
}

}  // namespace
}  // namespace tessaly::testing
