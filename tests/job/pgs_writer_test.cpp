// PGS output of HD units that the sample disc does not have, decoded by ffmpeg from the
// Matroska file mkvmerge makes of it: a contrast fade, a forced start, a unit of 180 KB
// (over many packs and read chunks, its object in three segments), a unit whose size
// field lies, and units that do not decode.
#include <gtest/gtest.h>

#include <algorithm>

#include "job_fixture.h"
#include "session/demux_click.h"
#include "support/pgs_oracle.h"
#include "tools/caption_bitmap.h"
#include "tools/subpicture_units.h"

namespace tessaly {
namespace {

using testing::Bytes;
using testing::Canvas;
using testing::HdReference;
using testing::ReferenceStep;
using tools::PsWriter;
using tools::Stream;

constexpr std::uint64_t kSecond = 90000;
const std::string kPgs = "FEATURE_1.Subpicture.00.pgs.sup";

// Ink and outline pixels in turn: no two neighbours alike, so no run is possible.
Bytes everyPixelAlone() {
  tools::Bitmap b{1800, 80, {}};
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) {
      b.pixels.push_back((x + y) % 2 ? tools::Pixel::Ink : tools::Pixel::Outline);
    }
  }
  return tools::hdUnit(b, {60, 900, 1859, 979}, 2000);
}

class PgsWriterTest : public testing::JobTest {
 protected:
  PgsWriterTest() { s.SubOutputs = SubpictureOutputs::Pgs; }

  // The units in subpicture stream 0, five seconds apart after the first video packet.
  void demux(const std::vector<Bytes>& units) {
    writeEvo("FEATURE_1.EVO", [&](PsWriter& w) {
      w.navPack();
      w.pack(Stream::vc1(0));
      videoStart_ = w.lastPts();
      for (std::size_t k = 0; k < units.size(); ++k) {
        w.pack(Stream::vc1(0));
        w.packs(Stream::subpicture(0), units[k], videoStart_ + (k + 1) * 5 * kSecond);
      }
    });
    tick(33, "Subpicture.00");
    choose("FEATURE_1.EVO");
    bDemuxClick(s);
    ASSERT_TRUE(logged("Done."));
    ASSERT_TRUE(logged("Creating " + out.file(kPgs)));
  }

  std::vector<std::string> warnings() const {
    std::vector<std::string> lines;
    for (const auto& line : s.fMain.mMessage.lines) {
      if (line.rfind("Warning:", 0) == 0) lines.push_back(line);
    }
    return lines;
  }

  // What ffmpeg decodes and draws of the output against the steps of `units` (empty: one
  // that shows nothing) at the times demux() gave them; `forced`: the units that show with
  // forced subtitles alone.
  void expectDecodedAs(const std::vector<Bytes>& units, const std::vector<bool>& forced) {
    const std::string mkv = out.file("pgs.mkv");
    const std::string identified = testing::muxPgs(out.file(kPgs), mkv, out);
    EXPECT_NE(identified.find("\"codec_id\": \"S_HDMV/PGS\""), std::string::npos);
    std::vector<double> times;
    std::vector<int> rects;
    std::vector<Canvas> pictures;
    std::vector<Canvas> forcedPictures;
    for (std::size_t k = 0; k < units.size(); ++k) {
      if (units[k].empty()) continue;  // shows nothing
      for (const ReferenceStep& step : HdReference(units[k]).steps()) {
        times.push_back(static_cast<double>((k + 1) * 5 * kSecond + step.ticks) / 90);
        rects.push_back(step.picture ? 1 : 0);
        if (!step.picture) continue;
        pictures.push_back(testing::canvasOf(*step.picture));
        if (forced[k]) forcedPictures.push_back(pictures.back());
      }
    }
    const auto decoded = testing::decodedSubtitles(mkv, out);
    ASSERT_EQ(decoded.size(), times.size());
    for (std::size_t i = 0; i < decoded.size(); ++i) {
      EXPECT_NEAR(static_cast<double>(decoded[i].ms), times[i], 1.0) << i;
      EXPECT_EQ(decoded[i].rects, rects[i]) << i;
    }
    expectCanvases(testing::drawnCanvases(mkv, out), pictures);
    expectCanvases(testing::drawnCanvases(mkv, out, true), forcedPictures);
  }

  static void expectCanvases(const std::vector<Canvas>& drawn,
                             const std::vector<Canvas>& expected) {
    ASSERT_EQ(drawn.size(), expected.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
      EXPECT_EQ(testing::canvasDifference(drawn[i], expected[i]), "") << "picture " << i;
    }
  }

  std::uint64_t videoStart_ = 0;
};

TEST_F(PgsWriterTest, FadeForcedLargeAndLyingUnitsDecodeAsTheirUnitsShowThem) {
  Bytes lying = tools::hdUnit("LYING SIZE", 1000);
  ++lying[5];  // the low byte of the 32-bit size
  const std::vector<Bytes> units{
      tools::hdUnit("FADE IN", 3000, {.fadeSteps = 3, .fadeStepMs = 200, .ink = {180, 160, 90}}),
      tools::hdUnit("FORCED", 1500, {.forced = true}), everyPixelAlone(), lying};
  ASSERT_GT(units[2].size(), 4u * 32768);  // four read chunks; its object takes 144 KB
  demux(units);
  EXPECT_EQ(warnings(), std::vector<std::string>{
                            "Warning: subpicture stream 0 has 1 units whose size field disagrees "
                            "with the stream."});
  expectDecodedAs(units, {false, true, false, false});
}

std::size_t be32(const Bytes& unit, std::size_t at) {
  return std::size_t{unit[at]} << 24 | std::size_t{unit[at + 1]} << 16 |
         std::size_t{unit[at + 2]} << 8 | unit[at + 3];
}

TEST_F(PgsWriterTest, UnitsThatDoNotDecodeAreLeftOutWithALineAndTheOthersStay) {
  const Bytes good = tools::hdUnit("GOOD", 1000);
  const std::size_t table = be32(good, 6);  // the first sequence; its next offset 2 bytes on
  const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(table));
  // Its area's x1 (after delay, next offset, colours 1 + 768 and contrasts 1 + 256) made
  // 4000, beyond any frame.
  Bytes offFrame = good;
  offFrame[table + 1033] = 0xFA;
  offFrame[table + 1034] = 0x0F;
  Bytes farTable = good;
  farTable[6] = 0x7F;
  // The stop sequence points back at the first instead of at itself.
  Bytes backwards = good;
  const std::size_t stop = be32(good, table + 2);
  std::copy_n(good.begin() + 6, 4, backwards.begin() + static_cast<std::ptrdiff_t>(stop + 2));
  demux({good, cut, offFrame, farTable, backwards});
  EXPECT_EQ(warnings(),
            (std::vector<std::string>{
                "Warning: subpicture stream 0 has 1 units whose size field disagrees with the "
                "stream.",
                "Warning: subpicture stream 0 has 3 units that do not decode to a picture; its "
                "PGS output leaves them out."}));
  // The last shows as the good one: the table ends where its offsets turn back.
  expectDecodedAs({good, {}, {}, {}, good}, {false, false, false, false, false});
}

}  // namespace
}  // namespace tessaly
