// Payload routing: what reaches which output, for each kind of packet, and only into an
// open entry.
#include <gtest/gtest.h>

#include "engine_harness.h"
#include "platform/error.h"
#include "support/error_message.h"
#include "support/file_size_limit.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

TEST(RouteTest, EachKindLosesExactlyItsSubHeader) {
  struct Case {
    Stream stream;
    int slot;
    std::size_t written;
  };
  // Every packet holds 2,000 bytes after its PES header.
  for (const Case& c : {Case{Stream::lpcm(1), 18, 1993}, Case{Stream::mlp(2), 19, 1995},
                        Case{Stream::dd(3), 20, 1996}, Case{Stream::subpicture(4), 37, 1999},
                        Case{Stream::extSubpicture(4), 37, 1999}, Case{Stream::mpeg2(1), 2, 2000},
                        Case{Stream::vc1(0), 1, 2000}}) {
    tools::MemorySink sink;
    tools::PsWriter writer(sink);
    writer.packet(c.stream, c.written);
    EngineHarness h;
    h.walk(sink.bytes, 1);
    const auto outputs = h.outputs();
    EXPECT_EQ(outputs.at(c.slot),
              Bytes(sink.bytes.end() - static_cast<std::ptrdiff_t>(c.written), sink.bytes.end()))
        << c.slot;
    std::size_t total = 0;
    for (const auto& [slot, content] : outputs) total += content.size();
    EXPECT_EQ(total, c.written) << c.slot;
  }
}

TEST(RouteTest, OnlyOpenEntriesReceiveTheirNumber) {
  tools::MemorySink sink;
  tools::PsWriter writer(sink);
  writer.packet(Stream::mpegAudio(0), 100);  // no audio number yet: nowhere
  writer.packet(Stream::ddPlus(0), 200);
  writer.packet(Stream::ddPlus(1), 300);
  writer.packet(Stream::mpegAudio(5), 400);  // the number of the last audio packet: 1
  writer.packet(Stream::ddPlus(0), 500);
  writer.packet(Stream::subpicture(17), 600);  // no entry for numbers past 15
  writer.packet(Stream::vc1(1), 700);
  EngineHarness h;
  std::set<int> open{1, 18};  // not video 1's entry, of audio only number 1's
  for (int slot = 33; slot <= 48; ++slot) open.insert(slot);
  h.select(open);
  h.walk(sink.bytes, 1);
  const auto outputs = h.outputs();
  EXPECT_EQ(outputs.at(18), writer.expected(18).bytes);
  EXPECT_EQ(outputs.at(18).size(), 700u);
  for (const auto& [slot, content] : outputs) {
    EXPECT_TRUE(slot == 18 || content.empty()) << slot;
  }
  EXPECT_EQ(h.streams[17], 0xC0);  // streams without an open entry are still walked
}

TEST(RouteTest, ClosedEntriesAreNeverWritten) {
  tools::MemorySink sink;
  tools::PsWriter writer(sink);
  writer.packet(Stream::ddPlus(2), 1000);
  const std::size_t half = sink.bytes.size() - 500;
  EngineHarness h;
  Walk walker(h, 1);
  walker.feed(sink.bytes.data(), half);
  const Bytes first = h.outputs().at(19);
  h.closeOutputs();
  walker.feed(sink.bytes.data() + half, sink.bytes.size() - half);
  walker.feed(sink.bytes.data(), sink.bytes.size());
  EXPECT_EQ(first, Bytes(sink.bytes.end() - 1000, sink.bytes.end() - 500));
  EXPECT_EQ(h.outputs().at(19), first);
}

TEST(RouteTest, ScanningWritesNothingEvenWithOpenEntries) {
  tools::MemorySink sink;
  tools::PsWriter writer(sink);
  writer.pack(Stream::vc1(0));
  writer.pack(Stream::dd(0));
  EngineHarness h;
  h.walk(sink.bytes, 0);
  for (const auto& [slot, content] : h.outputs()) EXPECT_TRUE(content.empty()) << slot;
}

TEST(RouteTest, FailedWriteEndsThePassWithStreamWriteErrorKeepingWhatWasWritten) {
  tools::MemorySink sink;
  tools::PsWriter writer(sink);
  for (int n = 0; n < 400; ++n) writer.pack(Stream::vc1(0));
  TempDir dir;
  EngineHarness h;
  h.writeToFile(1, dir.file("video"));
  MemoryInput input(sink.bytes);
  std::string message;
  {
    const FileSizeLimit limit(100000);
    message = messageOf([&] { h.run(input, 1); });
  }
  EXPECT_EQ(message, "Stream write error");
  EXPECT_TRUE(h.observer.stoppable);
  EXPECT_LT(input.position(), input.size());
  h.closeOutputs();
  const Bytes written = readFile(dir.file("video"));
  ASSERT_EQ(written.size(), 100000u);
  EXPECT_TRUE(std::equal(written.begin(), written.end(), writer.expected(1).bytes.begin()));
}

}  // namespace
}  // namespace tessaly::testing
