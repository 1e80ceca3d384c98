// The video's frame from its first sequence header, against what ffmpeg encoded: MPEG-2
// and H.264 (4:2:0, and 4:4:4 whose SPS carries the High profiles' fields, 1080 lines
// cropped from 1088), and VC-1 advanced profile headers built bit by bit.
#include "job/video_frame.h"

#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace tessaly {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Codec& videoCodec(std::uint8_t value) {
  return *codecOf(StreamGroup::Video, value);
}

// One second of ffmpeg's test picture at `size` in `codec`, as an elementary stream.
Bytes encoded(const testing::TempDir& dir, const std::string& codec, const std::string& size,
              const std::string& pixels) {
  const std::string file = dir.file("clip." + codec + "." + size + ".es");
  testing::commandOutput("ffmpeg -v error -nostdin -f lavfi -i testsrc=size=" + size +
                         ":rate=25 -frames:v 2 -pix_fmt " + pixels + " -c:v " + codec + " -f " +
                         (codec == "libx264" ? "h264" : "mpeg2video") + " -y '" + file + "'");
  return testing::readFile(file);
}

// A VC-1 advanced profile sequence header: its start code, then the fields by width.
Bytes vc1Header(int width, int height, std::optional<VideoFrame> display) {
  std::vector<std::pair<std::uint32_t, int>> fields{
      {3, 2},
      {3, 3},
      {1, 2},
      {0, 3},
      {0, 5},
      {0, 1},  // profile ...
      {static_cast<std::uint32_t>(width / 2 - 1), 12},
      {static_cast<std::uint32_t>(height / 2 - 1), 12},
      {0, 6},
      {display ? 1u : 0u, 1}};
  if (display) {
    fields.push_back({static_cast<std::uint32_t>(display->width - 1), 14});
    fields.push_back({static_cast<std::uint32_t>(display->height - 1), 14});
  }
  Bytes out{0x00, 0x00, 0x01, 0x0F};
  int used = 0;
  for (const auto& [value, bits] : fields) {
    for (int bit = bits - 1; bit >= 0; --bit, ++used) {
      if (used % 8 == 0) out.push_back(0);
      out.back() |= static_cast<std::uint8_t>(((value >> bit) & 1) << (7 - used % 8));
    }
  }
  out.resize(out.size() + 300, 0);
  return out;
}

TEST(VideoFrameTest, EachCodecsSequenceHeaderGivesTheFrameItWasMadeFor) {
  const testing::TempDir dir;
  const Codec& mpeg2 = videoCodec(ps::kMpeg2VideoFirst);
  const Codec& h264 = videoCodec(ps::kH264VideoFirst);
  const Codec& vc1 = videoCodec(ps::kVc1Video0);
  for (const VideoFrame frame :
       {VideoFrame{720, 480}, VideoFrame{1920, 1080}, VideoFrame{1440, 1080}}) {
    const std::string size = std::to_string(frame.width) + "x" + std::to_string(frame.height);
    SCOPED_TRACE(size);
    EXPECT_EQ(sequenceFrame(mpeg2, encoded(dir, "mpeg2video", size, "yuv420p")), frame);
    EXPECT_EQ(sequenceFrame(h264, encoded(dir, "libx264", size, "yuv420p")), frame);
    EXPECT_EQ(sequenceFrame(h264, encoded(dir, "libx264", size, "yuv444p")), frame);
  }
  EXPECT_EQ(sequenceFrame(vc1, vc1Header(1440, 1080, std::nullopt)), (VideoFrame{1440, 1080}));
  EXPECT_EQ(sequenceFrame(vc1, vc1Header(1440, 1088, VideoFrame{1920, 1080})),
            (VideoFrame{1920, 1080}));

  // A header cut off waits for more; a stream read as another codec names no frame.
  const Bytes stream = encoded(dir, "mpeg2video", "720x480", "yuv420p");
  EXPECT_EQ(sequenceFrame(mpeg2, std::span(stream).first(16)), std::nullopt);
  EXPECT_EQ(sequenceFrame(vc1, stream), std::nullopt);
}

}  // namespace
}  // namespace tessaly
