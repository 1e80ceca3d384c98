// Damaged input: headers that claim more than their packet holds, and packets cut
// off by the end of the file. Nothing may be read outside the data, and nothing of
// a broken packet written.
#include <gtest/gtest.h>

#include "engine_harness.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

struct Damaged {
  Bytes bytes;
  const char* what;
};

// Each starts with a packet whose header steps run past its length field.
std::vector<Damaged> headersPastTheirPacket() {
  return {
      {{0x00, 0x00, 0x01, 0xE0, 0x00, 0x03, 0x81, 0x80, 0x05}, "PTS after a 3-byte packet"},
      {{0x00, 0x00, 0x01, 0xE1, 0x00, 0x04, 0x81, 0xC0, 0x0A, 0x31}, "PTS+DTS past the end"},
      {{0x00, 0x00, 0x01, 0xFD, 0x00, 0x05, 0x81, 0x01, 0x03, 0x1F, 0x60},
       "P-STD and extension 2 past the end"},
      {{0x00, 0x00, 0x01, 0xBD, 0x00, 0x05, 0x81, 0x00, 0x00, 0x80, 0x01}, "sub-header cut"},
      {{0x00, 0x00, 0x01, 0xBD, 0x00, 0x08, 0x81, 0x00, 0x00, 0xA1, 0x01, 0x00, 0x05, 0x00},
       "LPCM bytes cut"},
      {{0x00, 0x00, 0x01, 0xE0, 0x00, 0x05, 0x81, 0x00, 0x09, 0xFF, 0xFF}, "stuffing cut"},
  };
}

TEST(MalformedTest, HeaderRunningPastItsPacketEndsThePacket) {
  tools::MemorySink sink;
  tools::PsWriter writer(sink);
  writer.pack(Stream::dd(2), 1000);
  writer.pack(Stream::vc1(1), 1500);
  for (const Damaged& damaged : headersPastTheirPacket()) {
    Bytes bytes = damaged.bytes;
    bytes.insert(bytes.end(), sink.bytes.begin(), sink.bytes.end());
    for (std::size_t piece : {1ul, 3ul, bytes.size()}) {
      EngineHarness h;
      h.walk(bytes, 1, {piece});
      const auto outputs = h.outputs();
      EXPECT_EQ(outputs.at(19), writer.expected(19).bytes) << damaged.what;
      EXPECT_EQ(outputs.at(2), writer.expected(2).bytes) << damaged.what;
      std::size_t total = 0;
      for (const auto& [slot, content] : outputs) total += content.size();
      EXPECT_EQ(total, 2500u) << damaged.what;
    }
  }
}

TEST(MalformedTest, PacketCutOffByTheEndOfTheFileKeepsWhatWasThere) {
  tools::MemorySink sink;
  tools::PsWriter writer(sink);
  writer.pack(Stream::ddPlus(0), 2000);
  writer.pack(Stream::ddPlus(0), 2000);
  const Bytes& whole = writer.expected(17).bytes;
  // Cut in the second packet's payload, in its sub-header, and in its PES header.
  for (std::size_t cut : {2048u + 1000u, 2048u + 30u, 2048u + 20u}) {
    EngineHarness h;
    h.run(Bytes(sink.bytes.begin(), sink.bytes.begin() + static_cast<std::ptrdiff_t>(cut)), 1);
    const std::size_t kept = cut > 2048 + 32 ? 2000 + (cut - 2048 - 32) : 2000;
    EXPECT_EQ(h.outputs().at(17), Bytes(whole.begin(), whole.begin() + kept)) << cut;
  }
}

}  // namespace
}  // namespace tessaly::testing
