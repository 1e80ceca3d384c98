// The pass around the walk, as a job runs it: chunks, progress, the fast-check limit, the
// summary line, the stop test, and the errors that end a pass.
#include <gtest/gtest.h>
#include <unistd.h>

#include "engine_harness.h"
#include "platform/error.h"
#include "support/error_message.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

Bytes navPackFile(int videoBound, int audioBound, std::size_t size) {
  tools::MemorySink sink;
  tools::PsWriter writer(sink, {.videoBound = videoBound, .audioBound = audioBound});
  writer.navPack();
  sink.bytes.resize(size, 0xFF);
  return sink.bytes;
}

// A file of `size` zero bytes that takes no disk space.
std::string sparseFile(TempDir& dir, std::int64_t size) {
  writeFile(dir.file("FEATURE_1.EVO"), Bytes{});
  EXPECT_EQ(::truncate(dir.file("FEATURE_1.EVO").c_str(), size), 0);
  return dir.file("FEATURE_1.EVO");
}

TEST(DemuxTest, WritesEveryStreamAsTheWriterExpects) {
  tools::MemorySink sink;
  tools::PsWriter writer(sink);
  writer.navPack();
  for (int n = 0; n < 40; ++n) {
    writer.pack(Stream::vc1(0), tools::PsWriter::kFill, {.pstd = n % 3 == 0});
    writer.pack(Stream::ddPlus(n % 2));
    writer.pack(Stream::mlp(2), 700);
    writer.pack(Stream::lpcm(3));
    writer.pack(Stream::subpicture(1), 100);
  }
  EngineHarness h;
  EXPECT_EQ(h.run(sink.bytes, 1), PassEnd::Complete);
  for (const auto& [slot, expected] : writer.expected()) {
    EXPECT_EQ(h.outputs().at(slot), expected.bytes) << slot;
    EXPECT_EQ(h.streams[slot], expected.value) << slot;
  }
}

TEST(DemuxTest, EmptyInputResetsTheTableAndReportsNothing) {
  EngineHarness h;
  h.streams[5] = 7;
  h.observer.stop = true;  // asked before a chunk: there is none
  EXPECT_EQ(h.run(Bytes{}, 1), PassEnd::Complete);
  EXPECT_TRUE(h.table().empty());
  EXPECT_FALSE(h.observer.stoppable);
  EXPECT_TRUE(h.observer.writing);
  EXPECT_TRUE(h.observer.logged.empty());
  EXPECT_TRUE(h.observer.statuses.empty());
}

TEST(DemuxTest, SummaryLineComesFromAFullFirstChunkInBothModes) {
  struct Case {
    int video, audio;
    std::size_t size;
    const char* line;
  };
  for (const Case& c : {Case{1, 1, 32768, "It contains 1 video stream and 1 audio stream."},
                        Case{2, 0, 40000, "It contains 2 video streams and 0 audio stream."},
                        Case{0, 3, 32768, "It contains 0 video stream and 3 audio streams."},
                        Case{1, 1, 32767, nullptr}}) {
    for (int mode : {0, 1}) {
      EngineHarness h;
      h.run(navPackFile(c.video, c.audio, c.size), mode);
      const auto expected = c.line ? std::vector<std::string>{c.line} : std::vector<std::string>{};
      EXPECT_EQ(h.observer.logged, expected) << c.size << " mode " << mode;
    }
  }
  EngineHarness h;  // bytes 16 and 17 are not 01 BB
  h.run(Bytes(32768, 0x00), 0);
  EXPECT_TRUE(h.observer.logged.empty());
}

TEST(DemuxTest, InputOfExactly4MiBGivesOneProgressTextAfterItsLastChunk) {
  for (int mode : {0, 1}) {
    EngineHarness h;
    h.run(Bytes(4194304, 0x00), mode);
    const std::string text = std::string(mode ? "Demuxing" : "Reading") +
                             " FEATURE_1.EVO 4/4 Mbytes, Remaining time: 0:00:01";
    EXPECT_EQ(h.observer.statuses, (std::vector<std::pair<int, std::string>>{{1, text}}));
    EXPECT_EQ(h.observer.breaths, 1);
    EXPECT_EQ(h.observer.repaints, 0);
  }
  EngineHarness h;  // a partial last chunk shows nothing
  h.run(Bytes(4194304 + 100, 0x00), 0);
  EXPECT_EQ(h.observer.breaths, 1);
}

TEST(DemuxTest, FastCheckEndsAScanAfterChunk9156AndOnlyMarksTheLimitWhileWriting) {
  TempDir dir;
  EngineHarness scan;
  FileInput file(sparseFile(dir, 1000000000), Access::Shared);
  EXPECT_EQ(scan.run(file, 0, true), PassEnd::FastCheckLimit);
  EXPECT_EQ(file.position(), 300023808);
  EXPECT_FALSE(scan.observer.stoppable);
  EXPECT_EQ(scan.observer.breaths, 71);  // every 4 MiB
  EXPECT_EQ(scan.observer.repaints, 4);  // every 64 MiB
  for (bool fastCheck : {true, false}) {
    EngineHarness write;
    FileInput whole(sparseFile(dir, 300100000), Access::Shared);
    EXPECT_EQ(write.run(whole, 1, fastCheck), PassEnd::Complete);
    EXPECT_EQ(whole.position(), 300100000);
  }
  EngineHarness unticked;
  FileInput whole(sparseFile(dir, 300100000), Access::Shared);
  EXPECT_EQ(unticked.run(whole, 0, false), PassEnd::Complete);
}

TEST(DemuxTest, StopIsSeenBeforeTheChunkAfterTheProgressPointInBothModes) {
  for (int mode : {0, 1}) {
    EngineHarness h;
    h.observer.onBreath = [&] { h.observer.stop = true; };
    const Bytes bytes(3 * 4194304, 0x00);
    MemoryInput input(bytes, "FEATURE_1.EVO");
    EXPECT_EQ(h.run(input, mode), PassEnd::Stopped);
    EXPECT_EQ(input.position(), 4194304);
    EXPECT_FALSE(h.observer.stoppable);
  }
}

TEST(DemuxTest, ReadThatReturnsNothingBeforeTheEndIsAReadError) {
  TempDir dir;
  writeFile(dir.file("FEATURE_1.EVO"), Bytes(100000, 0x00));
  FileInput input(dir.file("FEATURE_1.EVO"), Access::Shared);
  ASSERT_EQ(::truncate(dir.file("FEATURE_1.EVO").c_str(), 40000), 0);  // shrinks after open
  EngineHarness h;
  EXPECT_EQ(messageOf([&] { h.run(input, 0); }), "Stream read error");
  EXPECT_EQ(input.position(), 40000);
  EXPECT_TRUE(h.observer.stoppable);  // an error ends the pass without its normal end
}

}  // namespace
}  // namespace tessaly::testing
