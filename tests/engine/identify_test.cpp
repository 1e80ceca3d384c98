// Registration and acceptance: which slot a stream fills, what is logged, and which
// private-stream-1 packets count as audio.
#include <gtest/gtest.h>

#include "engine_harness.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {
namespace {

using tools::Stream;
using Table = std::map<int, std::int32_t>;

// Builds packets of the given streams, each with `payload` bytes.
struct Packets {
  explicit Packets(std::initializer_list<Stream> streams, std::size_t payload = 300) {
    for (const Stream& stream : streams) writer.packet(stream, payload);
  }
  tools::MemorySink sink;
  tools::PsWriter writer{sink};
};

// A private-stream-1 packet with PTS and a hand-made sub-header, then `payload` bytes.
Bytes private1(const Bytes& subHeader, std::size_t payload) {
  const std::size_t length = 3 + 5 + subHeader.size() + payload;
  Bytes bytes{0x00,
              0x00,
              0x01,
              0xBD,
              static_cast<std::uint8_t>(length >> 8),
              static_cast<std::uint8_t>(length),
              0x81,
              0x80,
              0x05,
              0x21,
              0x00,
              0x01,
              0x00,
              0x01};
  for (std::uint8_t byte : subHeader) bytes.push_back(byte);
  for (std::size_t n = 0; n < payload; ++n) bytes.push_back(static_cast<std::uint8_t>(n * 7 + 3));
  return bytes;
}

Bytes tail(const Bytes& packet, std::size_t count) {
  return Bytes(packet.end() - static_cast<std::ptrdiff_t>(count), packet.end());
}

TEST(IdentifyTest, AudioStreamsRegisterByCodingAndNumberInTheOrderMet) {
  Packets p({Stream::ddPlus(0), Stream::mlp(1), Stream::ddPlus(0), Stream::lpcm(6)});
  EngineHarness h;
  h.walk(p.sink.bytes, 0);
  EXPECT_EQ(h.table(), (Table{{17, 0xC0}, {18, 0xB1}, {23, 0xA6}}));
  EXPECT_EQ(h.observer.logged,
            (std::vector<std::string>{"DD+ audio stream 0 found!", "MLP audio stream 1 found!",
                                      "LPCM audio stream 6 found!"}));
}

TEST(IdentifyTest, CodingsSharingANumberShareTheSlotAndTheOutput) {
  // DD 0x80 and DTS-HD 0x88 are both number 0; DD+ 0xC9 is number 9.
  Packets p({Stream::dd(0), Stream::dtsHd(0), Stream::dd(0), Stream::ddPlus(9)});
  EngineHarness h;
  h.walk(p.sink.bytes, 0);
  EXPECT_EQ(h.table(), (Table{{17, 0x80}, {26, 0xC9}}));
  EXPECT_EQ(h.observer.logged,
            (std::vector<std::string>{"DD audio stream 0 found!", "DD+ audio stream 9 found!"}));
  EngineHarness write;
  write.walk(p.sink.bytes, 1);
  EXPECT_TRUE(write.observer.logged.empty());
  EXPECT_EQ(write.table(), h.table());
  EXPECT_EQ(write.outputs().at(17), p.writer.expected(17).bytes);
  EXPECT_EQ(p.writer.expected(17).bytes.size(), 900u);
}

TEST(IdentifyTest, SubpicturesRegisterTheirGroupInSlots33To64) {
  Packets p({Stream::subpicture(5), Stream::extSubpicture(1), Stream::subpicture(21),
             Stream::extSubpicture(5)});
  EngineHarness h;
  h.walk(p.sink.bytes, 0);
  EXPECT_EQ(h.table(), (Table{{38, 0x20}, {34, 0x60}, {54, 0x20}}));
  EXPECT_EQ(h.observer.logged, (std::vector<std::string>{"Subpicture stream 5 found!",
                                                         "Extended subpicture stream 1 found!",
                                                         "Subpicture stream 21 found!"}));
}

TEST(IdentifyTest, VideoRegistersByStreamIdOrExtensionIdAndKeepsTheFirst) {
  Packets p({Stream::vc1(0), Stream::mpeg2(0), Stream::h264(1), {0xFD, 0x71}, Stream::vc1(1)});
  EngineHarness h;
  h.walk(p.sink.bytes, 0);
  EXPECT_EQ(h.table(), (Table{{1, 0x55}, {2, 0xE3}}));
  EXPECT_EQ(h.observer.logged, (std::vector<std::string>{"VC-1 video stream 0 found!",
                                                         "H.264 video stream 1 found!"}));
  // The MPEG-2 packets count as video 0; the packet with extension id 0x71 is Ignored.
  EngineHarness write;
  write.walk(p.sink.bytes, 1);
  const auto outputs = write.outputs();
  EXPECT_EQ(outputs.at(1), p.writer.expected(1).bytes);
  EXPECT_EQ(outputs.at(1).size(), 600u);
  EXPECT_EQ(outputs.at(2).size(), 600u);
}

TEST(IdentifyTest, UnlistedSubStreamIdsAreAcceptedOnlyUnderTheLastCoding) {
  const Bytes before = private1({0x05, 1, 0, 5}, 50);  // no coding yet: audio 5
  const Bytes lpcm = private1({0xA0, 1, 0, 5, 0, 0x21, 0x81}, 20);
  const Bytes lpcmHigh = private1({0xA9, 1, 0, 5, 0, 0x21, 0x81}, 30);  // audio 9, 7 bytes
  const Bytes mlp = private1({0xB2, 1, 0, 5, 0}, 20);
  const Bytes mlpHigh = private1({0xBA, 1, 0, 5, 0}, 40);  // audio 10, 5 bytes
  const Bytes rejected = private1({0x05, 1, 0, 5}, 60);    // after MLP: Ignored
  Bytes all;
  for (const Bytes* packet : {&before, &lpcm, &lpcmHigh, &mlp, &mlpHigh, &rejected}) {
    all.insert(all.end(), packet->begin(), packet->end());
  }
  EngineHarness h;
  h.walk(all, 1, {5});
  EXPECT_EQ(h.table(), (Table{{17, 0xA0}, {19, 0xB2}}));
  const auto outputs = h.outputs();
  EXPECT_EQ(outputs.at(22), tail(before, 50));
  EXPECT_EQ(outputs.at(26), tail(lpcmHigh, 30));
  EXPECT_EQ(outputs.at(27), tail(mlpHigh, 40));
  EXPECT_EQ(outputs.at(17), tail(lpcm, 20));
  EXPECT_EQ(outputs.at(19), tail(mlp, 20));
}

}  // namespace
}  // namespace tessaly::testing
