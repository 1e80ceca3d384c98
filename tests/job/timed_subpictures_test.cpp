// Timed subpicture outputs: each stream's units framed with their time stamps, in the
// format its first unit's header names, against the stream's own packets.
#include <gtest/gtest.h>

#include "job_fixture.h"
#include "session/demux_click.h"
#include "support/timed_units.h"
#include "tools/subpicture_units.h"

namespace tessaly {
namespace {

using testing::Bytes;
using testing::indexEntries;
using testing::IndexEntry;
using testing::streamUnits;
using testing::supFrames;
using tools::PsWriter;
using tools::Stream;

constexpr std::uint64_t kSecond = 90000;
constexpr std::uint64_t kNearWrap = (std::uint64_t{1} << 33) - 3 * kSecond;
constexpr std::size_t kPack = 2048;

class TimedSubpicturesTest : public testing::JobTest {
 protected:
  TimedSubpicturesTest() { s.SubOutputs = SubpictureOutputs::Timed; }

  void demux() {
    choose("FEATURE_1.EVO");
    bDemuxClick(s);
    ASSERT_TRUE(logged("Done."));
  }

  std::string text(const std::string& name) const {
    const Bytes bytes = output(name);
    return {bytes.begin(), bytes.end()};
  }

  std::vector<std::string> warnings() const {
    std::vector<std::string> lines;
    for (const auto& line : s.fMain.mMessage.lines) {
      if (line.rfind("Warning:", 0) == 0) lines.push_back(line);
    }
    return lines;
  }
};

// A unit in packs of `stream`, the PTS on the first packet, which takes at most `first`
// bytes.
void unitIn(PsWriter& w, const Stream& stream, const Bytes& unit, std::uint64_t pts,
            std::size_t first) {
  const auto head = std::span(unit).first(std::min(first, unit.size()));
  std::size_t at = w.pack(stream, head, {.time = static_cast<std::int64_t>(pts)});
  while (at < unit.size()) at += w.pack(stream, std::span(unit).subspan(at), {.pts = false});
}

// HD units in the ordinary id range, DVD-style units in the extended one, each over
// several packs; the time stamps cross the 33-bit wrap, and the first DVD-style unit's
// first packet holds a single byte, less than the format's header.
TEST_F(TimedSubpicturesTest, FramesCarryEveryUnitWithItsTimeStampAsTheRawStreamHoldsIt) {
  std::uint64_t videoStart = 0;
  writeEvo("FEATURE_1.EVO", [&](PsWriter& w) {
    w.setClock(kNearWrap);
    w.navPack();
    w.pack(Stream::vc1(0));
    videoStart = w.lastPts();
    for (std::uint64_t k = 0; k < 4; ++k) {
      w.pack(Stream::vc1(0));
      const std::uint64_t pts = videoStart + (k + 1) * kSecond;
      w.packs(Stream::subpicture(0), tools::hdUnit(k % 2 ? "ODD" : "EVEN UNIT", 2000), pts);
      // Half a second and half a millisecond later: 1500.5 ms rounds to 1501.
      unitIn(w, Stream::extSubpicture(1), tools::dvdUnit(k % 2 ? "ODD" : "EVEN", 1500),
             pts + kSecond / 2 + 45, k == 0 ? 1 : PsWriter::kPackSize);
    }
  });
  tick(33, "Subpicture.00");
  tick(34, "Ext.Subpicture.01");  // video 0 unticked: its time stamps still count
  demux();
  EXPECT_TRUE(logged("Creating " + out.file("FEATURE_1.Subpicture.00.sup")));
  EXPECT_TRUE(logged("Creating " + out.file("FEATURE_1.Ext.Subpicture.01.idx")));
  EXPECT_TRUE(logged("Creating " + out.file("FEATURE_1.Ext.Subpicture.01.sub")));
  EXPECT_EQ(warnings(), std::vector<std::string>{});

  // HD-DVD SUP: one frame per time-stamped packet, the unit's bytes as the raw output has them.
  const auto hd = streamUnits(in.file("FEATURE_1.EVO"), 33);
  ASSERT_EQ(hd.size(), 4u);
  const auto frames = supFrames(output("FEATURE_1.Subpicture.00.sup"));
  ASSERT_EQ(frames.size(), hd.size());
  Bytes framed;
  for (std::size_t i = 0; i < hd.size(); ++i) {
    EXPECT_EQ(frames[i].pts, hd[i].pts & 0xFFFFFFFF) << i;
    EXPECT_EQ(frames[i].bytes, hd[i].bytes) << i;
    framed.insert(framed.end(), frames[i].bytes.begin(), frames[i].bytes.end());
  }
  s.SubOutputs = SubpictureOutputs::Raw;
  s.fMain.eSubExt.text = "raw";
  bDemuxClick(s);
  EXPECT_EQ(framed, output("FEATURE_1.Subpicture.00.raw"));

  // VobSub: 2048-byte packs whose private-stream-1 packets (0x20) give the same units,
  // indexed at their first pack with the time after video 0's first time stamp.
  const auto dvd = streamUnits(in.file("FEATURE_1.EVO"), 34);
  ASSERT_EQ(dvd.size(), 4u);
  const Bytes sub = output("FEATURE_1.Ext.Subpicture.01.sub");
  ASSERT_EQ(sub.size() % kPack, 0u);
  std::vector<std::uint64_t> stamped;  // the packs whose packet carries a PTS
  for (std::size_t at = 0; at < sub.size(); at += kPack) {
    EXPECT_EQ(Bytes(sub.begin() + at, sub.begin() + at + 4), (Bytes{0, 0, 1, 0xBA})) << at;
    EXPECT_EQ(sub[at + 17], 0xBD) << at;
    if (sub[at + 21] & 0x80) stamped.push_back(at);
  }
  EXPECT_EQ(streamUnits(out.file("FEATURE_1.Ext.Subpicture.01.sub"), 33), dvd);
  const std::string idx = text("FEATURE_1.Ext.Subpicture.01.idx");
  EXPECT_EQ(idx.rfind("# VobSub index file, v7 (do not modify this line!)\nsize: 1920x1080\n"
                      "palette: 000000, ffffff, 000000, ",
                      0),
            0u);
  EXPECT_NE(idx.find("\nid: und, index: 0\n"), std::string::npos);
  ASSERT_EQ(stamped.size(), 4u);
  EXPECT_EQ(indexEntries(idx),
            (std::vector<IndexEntry>{
                {1501, stamped[0]}, {2501, stamped[1]}, {3501, stamped[2]}, {4501, stamped[3]}}));
}

// A unit whose own size field lies is written as framed and counted; bytes before the
// stream's first time stamp are left out and counted; without video the times count
// from the earliest stream.
TEST_F(TimedSubpicturesTest, UnitsWhoseSizeFieldLiesAndUntimedBytesAreWarnedAtThePassEnd) {
  Bytes lyingHd = tools::hdUnit("HD", 1000);
  ++lyingHd[5];  // the low byte of the 32-bit size
  Bytes lyingDvd = tools::dvdUnit("DVD", 1000);
  --lyingDvd[1];
  const Bytes hd = tools::hdUnit("FINE", 1000);
  writeEvo("FEATURE_1.EVO", [&](PsWriter& w) {
    w.pack(Stream::subpicture(0), 500, {.pts = false});
    w.packs(Stream::subpicture(0), hd, 5 * kSecond);
    w.packs(Stream::subpicture(0), lyingHd, 6 * kSecond);
    w.packs(Stream::subpicture(0), hd, 7 * kSecond);
    w.packs(Stream::subpicture(1), lyingDvd, 8 * kSecond);
  });
  tick(33, "Subpicture.00");
  tick(34, "Subpicture.01");
  demux();
  EXPECT_EQ(warnings(),
            (std::vector<std::string>{
                "Warning: subpicture stream 0 has 1 units whose size field disagrees with the "
                "stream.",
                "Warning: subpicture stream 0 has 500 bytes before its first time stamp; its "
                "timed output leaves them out.",
                "Warning: subpicture stream 1 has 1 units whose size field disagrees with the "
                "stream."}));
  Bytes expected;
  for (const auto& [pts, unit] :
       {std::pair{5 * kSecond, hd}, {6 * kSecond, lyingHd}, {7 * kSecond, hd}}) {
    expected.insert(expected.end(),
                    {'S', 'P', static_cast<std::uint8_t>(pts), static_cast<std::uint8_t>(pts >> 8),
                     static_cast<std::uint8_t>(pts >> 16), 0, 0, 0, 0, 0});
    expected.insert(expected.end(), unit.begin(), unit.end());
  }
  EXPECT_EQ(output("FEATURE_1.Subpicture.00.sup"), expected);
  EXPECT_EQ(indexEntries(text("FEATURE_1.Subpicture.01.idx")),
            (std::vector<IndexEntry>{{3000, 0}}));
}

}  // namespace
}  // namespace tessaly
