// The test-stream writer: the tests of the engine trust its layout and its
// expected outputs, so both are checked against the format here.
#include "tools/ps_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tessaly::tools {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Walks the packets of one pack by their length fields; returns where the walk ends.
std::size_t endOfPackets(const Bytes& bytes, std::size_t at, std::size_t limit) {
  while (at + 6 <= limit) {
    EXPECT_EQ(bytes[at] | bytes[at + 1], 0) << "at " << at;
    EXPECT_EQ(bytes[at + 2], 1) << "at " << at;
    at += 6 + (std::size_t{bytes[at + 4]} << 8 | bytes[at + 5]);
  }
  return at;
}

TEST(PsWriterTest, PrivateStream1PackMatchesTheByteLayoutOfTheFormat) {
  MemorySink sink;
  PsWriter writer(sink);
  writer.pack(Stream::ddPlus(0));
  const Bytes& b = sink.bytes;
  ASSERT_EQ(b.size(), 2048u);
  EXPECT_EQ(Bytes(b.begin() + 14, b.begin() + 23),
            (Bytes{0x00, 0x00, 0x01, 0xBD, 0x07, 0xEC, 0x81, 0x80, 0x05}));
  EXPECT_EQ(Bytes(b.begin() + 28, b.begin() + 32), (Bytes{0xC0, 0x01, 0x00, 0x05}));
  EXPECT_EQ(writer.expected(17).bytes, Bytes(b.begin() + 32, b.end()));
  EXPECT_EQ(writer.expected(17).value, 0xC0);
  EXPECT_EQ(writer.expected(17).digest.bytes, 2016u);
}

TEST(PsWriterTest, ShortPayloadsStillFillExactlyOnePack) {
  for (const Stream& stream : {Stream::vc1(1), Stream::lpcm(2), Stream::subpicture(3)}) {
    const PesFields fields{.pstd = stream.id == 0xFD};
    const std::size_t capacity = PsWriter::packCapacity(stream, fields);
    for (std::size_t payload : {capacity, capacity - 1, capacity - 5, capacity - 6, 0ul}) {
      MemorySink sink;
      PsWriter writer(sink);
      writer.pack(stream, payload, fields);
      ASSERT_EQ(sink.bytes.size(), 2048u) << payload;
      EXPECT_EQ(endOfPackets(sink.bytes, 14, 2048), 2048u) << payload;
    }
  }
  MemorySink sink;
  PsWriter writer(sink);
  EXPECT_THROW(writer.pack(Stream::dd(0), PsWriter::packCapacity(Stream::dd(0)) + 1),
               std::invalid_argument);
  EXPECT_THROW(writer.packet(Stream::dd(0), 10, {.pstd = true}), std::invalid_argument);
}

TEST(PsWriterTest, NavPackCarriesTheSystemHeaderBounds) {
  MemorySink sink;
  PsWriter writer(sink, {.videoBound = 1, .audioBound = 3});
  writer.navPack();
  const Bytes& b = sink.bytes;
  ASSERT_EQ(b.size(), 2048u);
  EXPECT_EQ(b[16], 0x01);
  EXPECT_EQ(b[17], 0xBB);
  EXPECT_EQ(b[23] >> 2, 3);
  EXPECT_EQ(b[24] & 0x1F, 1);
  EXPECT_EQ(endOfPackets(b, 14, 2048), 2048u);
  EXPECT_TRUE(writer.expected().empty());
}

TEST(PsWriterTest, Vc1HeaderCarriesExtensionFieldsAndRoutesByExtensionId) {
  MemorySink sink;
  PsWriter writer(sink);
  writer.packet(Stream::vc1(1), 10, {.dts = true, .pstd = true, .stuffing = 2});
  const Bytes& b = sink.bytes;
  // flags: PTS+DTS, extension; 10 stamp bytes, ext flags, P-STD, extension 2, stuffing.
  EXPECT_EQ(b[7], 0xC1);
  EXPECT_EQ(b[8], 10 + 1 + 2 + 2 + 2);
  EXPECT_EQ(b[19], 0x1F);
  EXPECT_EQ(b[23], 0x56);
  EXPECT_EQ(writer.expected(2).value, 0x56);
  EXPECT_EQ(writer.expected(2).bytes, Bytes(b.end() - 10, b.end()));
}

TEST(PsWriterTest, ExpectedOutputFollowsStreamNumbers) {
  MemorySink sink;
  PsWriter writer(sink, {.keepPayload = false});
  writer.packet(Stream::mpegAudio(0), 100);            // no audio number yet: nowhere
  writer.packet(Stream::dtsHd(1), 100);                // DTS-HD 0x89 is number 1
  writer.packet(Stream::mpegAudio(3), 50);             // follows number 1
  writer.packet(Stream::subpicture(21), 7);            // slot 54
  writer.packet({0xFD, 0x55}, 9, {.ext2 = false});     // no video number yet: nowhere
  writer.packet(Stream::vc1(0), 11, {.ext2 = false});  // likewise: no extension id
  EXPECT_EQ(writer.expected(18).digest.bytes, 150u);
  EXPECT_EQ(writer.expected(18).value, 0x89);
  EXPECT_TRUE(writer.expected(18).bytes.empty());
  EXPECT_EQ(writer.expected(54).value, 0x20);
  EXPECT_EQ(writer.expected().size(), 2u);
}

}  // namespace
}  // namespace tessaly::tools
