// The pass around the walk: chunks, progress, the fast-check limit, the summary line,
// Cancel, and the errors that end a pass.
#include "catalogue/demux.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "engine_harness.h"
#include "shell/cancel.h"
#include "shell/error.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

std::string errorOf(Session& session, int mode) {
  try {
    demux(session, mode);
  } catch (const Error& error) {
    return error.what();
  }
  return "(no error)";
}

// A file of `size` zero bytes that takes no disk space.
void setSparseInput(EngineHarness& h, std::int64_t size) {
  writeFile(h.dir.file("FEATURE_1.EVO"), Bytes{});
  ASSERT_EQ(::truncate(h.dir.file("FEATURE_1.EVO").c_str(), size), 0);
  h.session.InputStream = std::make_unique<InputFile>(h.dir.file("FEATURE_1.EVO"), Access::Shared);
}

Bytes navPackFile(int videoBound, int audioBound, std::size_t size) {
  tools::MemorySink sink;
  tools::PsWriter writer(sink, {.videoBound = videoBound, .audioBound = audioBound});
  writer.navPack();
  sink.bytes.resize(size, 0xFF);
  return sink.bytes;
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
  h.setInput(sink.bytes);
  h.openAllOutputs();
  demux(h.session, 1);
  const auto outputs = h.closeOutputs();
  for (const auto& [slot, expected] : writer.expected()) {
    EXPECT_EQ(outputs.at(slot), expected.bytes) << slot;
    EXPECT_EQ(h.session.StreamTable[slot], expected.value) << slot;
  }
}

TEST(DemuxTest, EmptyFileResetsTheTableAndReadsNothing) {
  EngineHarness h;
  h.session.StreamTable[5] = 7;
  h.session.StopRequested = true;
  h.setInput({});
  demux(h.session, 1);
  EXPECT_TRUE(h.table().empty());
  EXPECT_FALSE(h.session.fMain.bCancel.enabled);
  EXPECT_FALSE(h.session.StopRequested);
  EXPECT_TRUE(h.session.Writing);
  EXPECT_TRUE(h.host.logged.empty());
  EXPECT_TRUE(h.host.statusPanels.empty());
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
      h.setInput(navPackFile(c.video, c.audio, c.size));
      demux(h.session, mode);
      const auto expected = c.line ? std::vector<std::string>{c.line} : std::vector<std::string>{};
      EXPECT_EQ(h.host.logged, expected) << c.size << " mode " << mode;
    }
  }
  EngineHarness h;  // bytes 16 and 17 are not 01 BB
  h.setInput(Bytes(32768, 0x00));
  demux(h.session, 0);
  EXPECT_TRUE(h.host.logged.empty());
}

TEST(DemuxTest, FileOfExactly4MiBGivesOneProgressTextAfterItsLastChunk) {
  for (int mode : {0, 1}) {
    EngineHarness h;
    h.setInput(Bytes(4194304, 0x00));
    demux(h.session, mode);
    EXPECT_EQ(h.host.statusPanels, std::vector<int>{1});
    EXPECT_EQ(h.host.messageRounds, 1);
    EXPECT_EQ(h.host.repaints, 0);
    EXPECT_EQ(h.session.fMain.statusBar.panels[1],
              std::string(mode ? " Demuxing" : " Reading") +
                  " FEATURE_1.EVO 4/4 Mbytes, Remaining time: 0:00:01");
  }
  EngineHarness h;  // a partial last chunk shows nothing
  h.setInput(Bytes(4194304 + 100, 0x00));
  demux(h.session, 0);
  EXPECT_EQ(h.host.messageRounds, 1);
}

TEST(DemuxTest, FastCheckStopsScanningAfterChunk9156) {
  EngineHarness h;
  setSparseInput(h, 1000000000);
  demux(h.session, 0);
  EXPECT_EQ(h.session.InputStream->position(), 300023808);
  EXPECT_TRUE(h.session.StopRequested);
  EXPECT_FALSE(h.session.fMain.bCancel.enabled);
  EXPECT_EQ(h.host.messageRounds, 71);  // every 4 MiB
  EXPECT_EQ(h.host.repaints, 4);        // every 64 MiB
}

TEST(DemuxTest, FastCheckDoesNotLimitWritingOrAnUntickedScan) {
  for (bool writing : {true, false}) {
    EngineHarness h;
    h.session.fMain.cbFastCheck.ticked = writing;
    setSparseInput(h, 300100000);
    demux(h.session, writing ? 1 : 0);
    EXPECT_EQ(h.session.InputStream->position(), 300100000);
    EXPECT_FALSE(h.session.StopRequested);
  }
}

TEST(DemuxTest, CancelIsSeenAtTheProgressPointAndEndsThePassAfterTheChunk) {
  EngineHarness h;
  h.host.onMessages = [&] { bCancelClick(h.session); };
  h.setInput(Bytes(3 * 4194304, 0x00));
  demux(h.session, 0);
  EXPECT_EQ(h.session.InputStream->position(), 4194304);
  EXPECT_TRUE(h.session.StopRequested);
  EXPECT_FALSE(h.session.fMain.bCancel.enabled);

  h.setInput(Bytes(3 * 4194304, 0x00));  // writing: the operator answers No
  demux(h.session, 1);
  EXPECT_EQ(h.session.InputStream->position(), 3 * 4194304);
  EXPECT_EQ(h.host.questions.size(), 3u);
}

TEST(DemuxTest, ReadThatReturnsNothingBeforeTheEndIsAReadError) {
  EngineHarness h;
  h.setInput(Bytes(100000, 0x00));
  ASSERT_EQ(::truncate(h.dir.file("FEATURE_1.EVO").c_str(), 40000), 0);  // shrinks after open
  EXPECT_EQ(errorOf(h.session, 0), "Stream read error");
  EXPECT_EQ(h.session.InputStream->position(), 40000);
  EXPECT_TRUE(h.session.fMain.bCancel.enabled);
}

}  // namespace
}  // namespace tessaly::testing
