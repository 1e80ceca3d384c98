// The walk is a push state machine: however the input is cut, the stream table, the
// log and every output must come out the same, and match what the writer put in.
#include <gtest/gtest.h>

#include "engine_harness.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {
namespace {

using tools::PsWriter;
using tools::Stream;

// Every layout of the format the walk must survive, with start codes planted in
// payloads and in the bodies of passed-over packets.
struct MixedStream {
  MixedStream() : writer(sink, {.seed = 11, .startCodesInPayload = true, .audioBound = 3}) {
    writer.navPack();
    for (int n = 0; n < 12; ++n) {
      writer.pack(Stream::vc1(0), PsWriter::kFill, {.dts = n % 2 == 1, .pstd = n % 3 == 0});
      writer.pack(Stream::ddPlus(n % 2));
      writer.pack(Stream::mlp(2), 1500 + static_cast<std::size_t>(n));
      writer.pack(Stream::lpcm(3), PsWriter::kFill, {.stuffing = 3});
      writer.pack(Stream::subpicture(1), 40);
      writer.pack(Stream::mpegAudio(0), 900);  // follows the audio number of the MLP pack
    }
    writer.navPack();
    writer.pack(Stream::extSubpicture(4));
    writer.pack(Stream::h264(1), 2);
    writer.pack(Stream::dd(5));
    writer.pack(Stream::dtsHd(5), 1000, {.pts = false});
    // Free layout: packets of any size, straddling 32 KB chunks, with garbage between.
    writer.packHeader();
    writer.packet(Stream::vc1(1), 40000, {.pstd = true, .stuffing = 5});
    writer.garbage(13);
    writer.packet(Stream::ddPlus(6), 30001, {.dts = true});
    writer.padding(300);
    writer.packet(Stream::lpcm(2), 0);  // an empty payload
    writer.packet(Stream::mpeg2(0), 65000, {.pts = false});
    writer.garbage(1);
    writer.packet(Stream::subpicture(21), 7);  // registers in slot 54
    writer.packet(Stream::mlp(7), 12345);
    writer.packet({0xFD, 0x55}, 5000, {.ext2 = false});  // video of the current number
    writer.packet(Stream::extSubpicture(15), 33333);
  }
  tools::MemorySink sink;
  PsWriter writer;
};

struct Result {
  std::map<int, std::int32_t> table;
  std::vector<std::string> log;
  std::map<int, Bytes> outputs;
};

Result walkInPieces(const Bytes& bytes, std::initializer_list<std::size_t> pieces) {
  Result result;
  EngineHarness scan;
  scan.walk(bytes, 0, pieces);
  EngineHarness write;
  write.walk(bytes, 1, pieces);
  EXPECT_EQ(write.table(), scan.table());
  EXPECT_TRUE(write.observer.logged.empty());
  return {scan.table(), scan.observer.logged, write.outputs()};
}

TEST(ChunkingTest, AnyCutOfTheInputGivesTheSameTableLogAndOutputs) {
  const MixedStream stream;
  const Bytes& bytes = stream.sink.bytes;
  const Result whole = walkInPieces(bytes, {bytes.size()});
  for (const auto& pieces : {std::initializer_list<std::size_t>{1},
                             std::initializer_list<std::size_t>{7, 13, 4093, 2, 3},
                             std::initializer_list<std::size_t>{32768}}) {
    const Result cut = walkInPieces(bytes, pieces);
    EXPECT_EQ(cut.table, whole.table);
    EXPECT_EQ(cut.log, whole.log);
    EXPECT_TRUE(cut.outputs == whole.outputs);
  }
  for (const auto& [slot, content] : whole.outputs) {
    EXPECT_EQ(content, stream.writer.expected(slot).bytes) << "slot " << slot;
  }
  for (const auto& [slot, expected] : stream.writer.expected()) {
    EXPECT_EQ(whole.table.at(slot), expected.value) << "slot " << slot;
  }
  EXPECT_EQ(
      whole.log,
      (std::vector<std::string>{
          "VC-1 video stream 0 found!", "DD+ audio stream 0 found!", "MLP audio stream 2 found!",
          "LPCM audio stream 3 found!", "Subpicture stream 1 found!", "DD+ audio stream 1 found!",
          "Extended subpicture stream 4 found!", "H.264 video stream 1 found!",
          "DD audio stream 5 found!", "DD+ audio stream 6 found!", "Subpicture stream 21 found!",
          "MLP audio stream 7 found!", "Extended subpicture stream 15 found!"}));
}

TEST(ChunkingTest, NoiseDenseInStartCodePrefixesGivesTheSameResultWhateverTheCut) {
  // Mostly zeros and ones, with recognised and other stream ids: passing bytes over
  // must find every start code that a byte-by-byte walk (pieces of one byte) finds.
  const std::uint8_t alphabet[] = {0x00, 0x00, 0x00, 0x01, 0x01, 0xBD, 0xE0, 0xE3, 0xC2,
                                   0xBA, 0xBB, 0xBA, 0xBB, 0x07, 0x09, 0x02, 0x03, 0x04};
  Bytes bytes(300000);
  std::uint64_t state = 42;
  for (auto& byte : bytes) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    byte = alphabet[(state >> 33) % sizeof alphabet];
  }
  const Result bytewise = walkInPieces(bytes, {1});
  ASSERT_FALSE(bytewise.table.empty());
  for (const auto& pieces : {std::initializer_list<std::size_t>{bytes.size()},
                             std::initializer_list<std::size_t>{2, 3, 5, 32768}}) {
    const Result cut = walkInPieces(bytes, pieces);
    EXPECT_EQ(cut.table, bytewise.table);
    EXPECT_EQ(cut.log, bytewise.log);
    EXPECT_TRUE(cut.outputs == bytewise.outputs);
  }
}

TEST(ChunkingTest, DemuxOfTheFileMatchesTheWriterAndTheSummary) {
  const MixedStream stream;
  EngineHarness h;
  h.run(stream.sink.bytes, 0);
  ASSERT_FALSE(h.observer.logged.empty());
  EXPECT_EQ(h.observer.logged.front(), "It contains 1 video stream and 3 audio streams.");
  h.run(stream.sink.bytes, 1);
  // MLP and an empty LPCM packet share number 2, DD and DTS HD number 5, MPEG audio
  // follows number 3: the writing pass ends with the summary and three warnings.
  const std::vector<std::string> end(h.observer.logged.end() - 4, h.observer.logged.end());
  EXPECT_EQ(end,
            (std::vector<std::string>{
                "It contains 1 video stream and 3 audio streams.",
                "Warning: audio stream 2 carries MLP and LPCM packets; they share one output.",
                "Warning: audio stream 5 carries DD and DTS HD packets; they share one output.",
                "Warning: MPEG audio packets follow audio stream 3; they share its output."}));
  for (const auto& [slot, content] : h.outputs()) {
    EXPECT_EQ(content, stream.writer.expected(slot).bytes) << "slot " << slot;
  }
}

}  // namespace
}  // namespace tessaly::testing
