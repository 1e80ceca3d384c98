// The feature mix's segments: each stream of a segment ends before its first entry that
// plays at the segment's end or later, the next segment goes on from there with time
// stamps that continue, whatever the streams' own cycles.
#include "tools/feature_mix.h"

#include <gtest/gtest.h>

namespace tessaly::tools {
namespace {

using Bytes = std::vector<std::uint8_t>;

// `count` units of `size` bytes, each its unit's number, entered every `every` units.
Elementary stream(const Stream& id, int count, std::size_t size, double seconds, int every) {
  Elementary e;
  e.stream = id;
  e.seconds = seconds;
  for (int unit = 0; unit < count; ++unit) {
    e.framing.units.push_back(e.bytes.size());
    if (unit % every == 0) e.framing.entries.push_back(e.bytes.size());
    e.bytes.insert(e.bytes.end(), size, static_cast<std::uint8_t>(unit));
  }
  return e;
}

// The first `size` bytes of the stream repeated.
Bytes repeated(const Elementary& e, std::size_t size) {
  Bytes out;
  while (out.size() < size) out.insert(out.end(), e.bytes.begin(), e.bytes.end());
  out.resize(size);
  return out;
}

TEST(FeatureMixTest, SegmentsEndBeforeAnEntryAndTheNextGoesOnFromIt) {
  // Video: 12 pictures of 0.1 s, a GOP of 6; audio: frames of 32 ms, each an entry.
  const Elementary video = stream(Stream::mpeg2(0), 12, 100, 1.2, 6);
  const Elementary audio = stream(Stream::ddPlus(0), 10, 50, 0.32, 1);
  FeatureMix mix({video, audio});
  MemorySink first;
  PsWriter one(first);
  mix.writeUntil(one, 1.8);
  // The video ends before the GOP of 1.8 s, the audio before its frame of 1.824 s.
  EXPECT_EQ(one.expected(1).bytes, repeated(video, 1800));
  EXPECT_EQ(one.expected(17).bytes, repeated(audio, 57 * 50));

  MemorySink second;
  PsWriter two(second);
  std::map<int, std::int64_t> firstPts;  // by stream id
  mix.writeUntil(two, 3.0, [&](PsWriter&, const Stream& s, std::int64_t pts) {
    if (pts >= 0) firstPts.try_emplace(s.id == 0xBD ? s.subId : s.id, pts);
  });
  Bytes both = one.expected(1).bytes;
  both.insert(both.end(), two.expected(1).bytes.begin(), two.expected(1).bytes.end());
  EXPECT_EQ(both, repeated(video, 3000));
  EXPECT_EQ(two.expected(17).bytes.size(), (94 - 57) * 50u);  // up to the frame of 3.008 s
  // 0.2 s ahead of the clock, as every time stamp of the mix.
  EXPECT_EQ(firstPts.at(0xE0), 18000 + 162000);
  EXPECT_EQ(firstPts.at(0xC0), 18000 + 164160);
}

// Units of their own times (frames of different lengths): each stamped packet carries the
// time of the first unit starting in it, in every repetition.
TEST(FeatureMixTest, UnitsAtTheirOwnTimesStampTheirPackets) {
  Elementary audio = stream(Stream::ddPlus(0), 3, 4000, 0.5, 1);
  audio.framing.times = {0, 0.1, 0.4};
  FeatureMix mix({audio});
  MemorySink sink;
  PsWriter writer(sink);
  std::vector<std::int64_t> stamps;
  mix.write(writer, 10 * 2048, [&](PsWriter&, const Stream&, std::int64_t pts) {
    if (pts >= 0) stamps.push_back(pts - 18000);
  });
  EXPECT_EQ(stamps, (std::vector<std::int64_t>{0, 9000, 36000, 45000, 54000}));
}

}  // namespace
}  // namespace tessaly::tools
