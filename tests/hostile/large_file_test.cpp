// Files over 4 GiB: a sparse file of 5 GiB whose streams, apart from its first packs,
// lie past the 4.5 GiB mark. Sizes, positions and progress texts are 64-bit all the way.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "job/job_fixture.h"
#include "session/demux_click.h"
#include "session/invoke.h"

namespace tessaly {
namespace {

using testing::Bytes;
using tools::PsWriter;
using tools::Stream;

constexpr std::int64_t kMiB = 1048576;
constexpr std::int64_t kSize = 5120 * kMiB;    // 5 GiB
constexpr std::int64_t kTailAt = 4608 * kMiB;  // 4.5 GiB
constexpr std::int64_t kProgressPoints = kSize / (4 * kMiB);

class LargeFileTest : public testing::JobTest {
 protected:
  LargeFileTest() {
    s.fMain.cbFastCheck.ticked = false;
    host.onMessages = [this] { progress.push_back(s.fMain.statusBar.panels[1]); };
  }

  // A navigation pack and VC-1 0; sparse zeros up to 4.5 GiB; VC-1 1, MLP 3 and
  // subpicture 5; sparse zeros up to 5 GiB. Returns what each slot's output must hold.
  std::map<int, Bytes> writeLargeEvo() {
    const std::string path = in.file("FEATURE_1.EVO");
    auto expected = testing::writeProgramStream(path, [](PsWriter& w) {
      w.navPack();
      w.pack(Stream::vc1(0));
    });
    tools::MemorySink tail;
    PsWriter writer(tail, {.seed = 2});
    writer.pack(Stream::vc1(1));
    writer.pack(Stream::mlp(3));
    writer.pack(Stream::subpicture(5), 900);
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(kTailAt);
    file.write(reinterpret_cast<const char*>(tail.bytes.data()),
               static_cast<std::streamsize>(tail.bytes.size()));
    file.close();
    EXPECT_EQ(::truncate(path.c_str(), kSize), 0);
    for (const auto& [slot, e] : writer.expected()) expected[slot] = e.bytes;
    return expected;
  }

  // One progress text every 4 MiB, in order, each with its own position in MiB.
  void expectProgress(const std::string& verb) {
    ASSERT_EQ(static_cast<std::int64_t>(progress.size()), kProgressPoints);
    for (std::int64_t point = 1; point <= kProgressPoints; ++point) {
      const std::string head = " " + verb + " FEATURE_1.EVO " + std::to_string(point * 4) +
                               "/5120 Mbytes, Remaining time: ";
      ASSERT_EQ(progress[static_cast<std::size_t>(point - 1)].substr(0, head.size()), head);
    }
    progress.clear();
  }

  std::vector<std::string> progress;
};

TEST_F(LargeFileTest, StreamsPastFourGiBAreFoundWrittenAndCountedIn64Bits) {
  const auto expected = writeLargeEvo();
  choose("FEATURE_1.EVO");
  ASSERT_TRUE(invoke(s, bCheckClick));
  EXPECT_EQ(s.fMain.mMessage.lines,
            (std::vector<std::string>{"Opening file FEATURE_1.EVO", "File size: 5120 Mbytes.",
                                      "It contains 1 video stream and 3 audio streams.",
                                      "VC-1 video stream 0 found!", "VC-1 video stream 1 found!",
                                      "MLP audio stream 3 found!", "Subpicture stream 5 found!",
                                      "Done."}));
  expectProgress("Reading");

  s.fMain.mMessage.lines.clear();
  ASSERT_TRUE(invoke(s, bDemuxClick));
  EXPECT_EQ(s.fMain.mMessage.lines[1], "File size: 5120 Mbytes.");
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Done.");
  expectProgress("Demuxing");
  EXPECT_EQ(output("FEATURE_1.VC-1.stream.0.mpv"), expected.at(1));
  EXPECT_EQ(output("FEATURE_1.VC-1.stream.1.mpv"), expected.at(2));
  EXPECT_EQ(output("FEATURE_1.MLP.stream.03.mpa"), expected.at(20));
  EXPECT_EQ(output("FEATURE_1.Subpicture.05.sup"), expected.at(38));
}

}  // namespace
}  // namespace tessaly
