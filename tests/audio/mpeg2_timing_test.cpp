// The MPEG-2 video check on ffmpeg's streams: program streams with B pictures (ffmpeg's own
// PTS) agree with their pictures' timing, two of them back to back disagree once, where
// the second's PTS jump; repeat_first_field makes a picture last three fields.
#include "audio/mpeg2_timing.h"

#include <gtest/gtest.h>

#include "audio_clips.h"
#include "engine/pass.h"
#include "timing_harness.h"

namespace tessaly::testing {
namespace {

// Video stream 0 of a pass into the check.
class VideoCheck final : public PassObserver, public PayloadSink {
 public:
  void packetStart(const PacketStart& p) override {
    if (p.slot == kVideoSlot) timing.packet(bytes_, p.hasPts ? std::optional(p.pts) : std::nullopt);
  }
  PayloadSink* payloadRun(int slot) override { return slot == kVideoSlot ? this : nullptr; }
  void write(const std::uint8_t* data, std::size_t size) override {
    bytes_ += size;
    timing.bytes(data, size);
  }
  std::uint64_t bytes() const { return bytes_; }
  Mpeg2Timing timing;

 private:
  std::uint64_t bytes_ = 0;
};

// ffmpeg's MPEG-2 of its test picture at `rate` frames a second, encoded with `options`.
Bytes encodeVideo(const TempDir& dir, const std::string& name, const std::string& rate,
                  std::vector<std::string> options) {
  std::vector<std::string> args{"-v", "error", "-nostdin", "-y",
                                "-f", "lavfi", "-i",       "testsrc2=size=320x240:rate=" + rate};
  args.insert(args.end(), options.begin(), options.end());
  args.insert(args.end(), {"-c:v", "mpeg2video", dir.file(name)});
  const auto run = runChild(program("ffmpeg"), args, dir);
  EXPECT_EQ(run.status, 0) << run.err;
  return readFile(dir.file(name));
}

// 25 fps with B pictures in a program stream, two seconds; `offset` seconds added to its PTS.
Bytes encodeVob(const TempDir& dir, const std::string& name, int offset) {
  return encodeVideo(dir, name, "25",
                     {"-t", "2", "-g", "12", "-bf", "2", "-output_ts_offset",
                      std::to_string(offset), "-f", "vob"});
}

// The smallest of the first PTS ffprobe reads for the file's video.
std::int64_t firstVideoPts(const TempDir& dir, const std::string& name) {
  const auto run = runChild(program("ffprobe"),
                            {"-v", "error", "-select_streams", "v", "-read_intervals", "%+#16",
                             "-show_entries", "packet=pts", "-of", "csv=p=0", dir.file(name)},
                            dir);
  std::int64_t smallest = INT64_MAX;
  for (const std::string& line : lines(run.out)) {
    if (!line.empty() && line != "N/A")
      smallest = std::min<std::int64_t>(smallest, std::stoll(line));
  }
  return smallest;
}

const VideoTiming& checkPass(const std::string& file, VideoCheck& check) {
  SlotTable table;
  FileInput input(file, Access::Shared);
  runPass(input, table, {PassMode::Write, false}, check);
  return check.timing.finish();
}

TEST(Mpeg2TimingTest, PtsAgreeWithThePicturesUntilTheyJump) {
  const TempDir dir;
  Bytes joined = encodeVob(dir, "a.vob", 0);
  const Bytes second = encodeVob(dir, "b.vob", 10);
  joined.insert(joined.end(), second.begin(), second.end());
  writeFile(dir.file("joined.vob"), joined);

  VideoCheck clean;
  const VideoTiming& one = checkPass(dir.file("a.vob"), clean);
  EXPECT_EQ(one.pictures, 50u);
  EXPECT_GE(one.checked, 25u);
  EXPECT_TRUE(one.disagreements.empty());

  VideoCheck jumping;
  const VideoTiming& two = checkPass(dir.file("joined.vob"), jumping);
  EXPECT_EQ(two.pictures, 100u);
  ASSERT_EQ(two.disagreements.size(), 1u);
  const VideoDisagreement& d = two.disagreements[0];
  EXPECT_EQ(d.at, 2 * kUnitsPerSecond);  // after the first file's 50 pictures
  // The second file's first picture, after its sequence and GOP headers.
  EXPECT_GT(d.offset, clean.bytes());
  EXPECT_LT(d.offset, clean.bytes() + 64);
  // Its PTS against where the first file's pictures end, as ffprobe reads the files.
  const std::int64_t ticks = firstVideoPts(dir, "b.vob") - firstVideoPts(dir, "a.vob") - 2 * 90000;
  EXPECT_EQ(d.jump, ticks * kUnitsPerTick);

  // The same files as a job's two segments: the second's time base starts again and is put
  // in line with the first, so its PTS agree with its pictures.
  TimingPass pass(dir, {.checkVideo = true});
  const JobTimingResult job = timeJob({dir.file("a.vob"), dir.file("b.vob")}, pass);
  ASSERT_TRUE(job.video);
  EXPECT_EQ(job.video->pictures, 100u);
  EXPECT_TRUE(job.video->disagreements.empty());
  EXPECT_EQ(job.offsets.back(), -ticks);
}

// All-intra interlaced 29.97 fps pictures (decode order is display order), every other one
// with repeat_first_field set: PTS that count 3 + 2 fields agree, PTS that count 2 each
// fall behind by a field a pair and disagree whenever that passes a frame.
TEST(Mpeg2TimingTest, RepeatFirstFieldLastsThreeFields) {
  const TempDir dir;
  Bytes video =
      encodeVideo(dir, "i.m2v", "30000/1001",
                  {"-t", "1", "-g", "1", "-flags", "+ildct+ilme", "-top", "1", "-f", "mpeg2video"});
  std::vector<std::size_t> pictures;
  int extensions = 0;
  for (std::size_t n = 0; n + 8 < video.size(); ++n) {
    if (video[n] != 0 || video[n + 1] != 0 || video[n + 2] != 1) continue;
    if (video[n + 3] == 0x00) pictures.push_back(n);
    // A picture coding extension: repeat_first_field is bit 30 after its start code.
    if (video[n + 3] == 0xB5 && video[n + 4] >> 4 == 8 && extensions++ % 2 == 1)
      video[n + 7] |= 0x02;
  }
  ASSERT_EQ(pictures.size(), 30u);
  const auto check = [&](bool countRepeats) {
    Mpeg2Timing timing;
    double fields = 0;
    for (std::size_t n = 0; n < pictures.size(); ++n) {
      const std::size_t end = n + 1 < pictures.size() ? pictures[n + 1] : video.size();
      const std::size_t from = n == 0 ? 0 : pictures[n];
      timing.packet(from, 90000 + static_cast<std::uint64_t>(fields * 1501.5));
      timing.bytes(video.data() + from, end - from);
      fields += countRepeats && n % 2 == 1 ? 3 : 2;
    }
    return timing.finish();
  };
  const VideoTiming right = check(true);
  EXPECT_EQ(right.pictures, 30u);
  EXPECT_EQ(right.checked, 30u);
  EXPECT_TRUE(right.disagreements.empty());
  const VideoTiming wrong = check(false);
  // Three fields behind after six pictures: a disagreement, then the check goes on from it.
  ASSERT_EQ(wrong.disagreements.size(), 4u);
  EXPECT_EQ(wrong.disagreements[0].jump, -3 * kUnitsPerSecond * 1001 / 60000);
}

}  // namespace
}  // namespace tessaly::testing
