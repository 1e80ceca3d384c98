#include <gtest/gtest.h>

#include "engine/demux.h"
#include "engine_harness.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

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

}  // namespace
}  // namespace tessaly::testing
