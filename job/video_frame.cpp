#include "job/video_frame.h"

#include <algorithm>
#include <array>

#include "audio/bit_reader.h"

namespace tessaly {
namespace {

constexpr std::uint8_t kMpeg2Sequence = 0xB3;  // sequence_header_code
constexpr std::uint8_t kVc1Sequence = 0x0F;    // sequence header (advanced profile)
constexpr std::uint8_t kNalTypeMask = 0x1F;
constexpr std::uint8_t kH264Sps = 7;       // nal_unit_type of a sequence parameter set
constexpr std::uint32_t kVc1Advanced = 3;  // PROFILE
constexpr std::size_t kHeaderBytes = 256;  // read after a start code: any SPS before its VUI
constexpr int kMostGolombZeros = 31;
constexpr int kMacroblock = 16;
// H.264 profiles whose SPS carries chroma_format_idc and the bit depths.
constexpr std::array<std::uint32_t, 13> kHighProfiles{100, 110, 122, 244, 44,  83, 86,
                                                      118, 128, 138, 139, 134, 135};

// Exp-Golomb codes of H.264.
class GolombReader {
 public:
  explicit GolombReader(std::span<const std::uint8_t> bytes) : bits_(bytes) {}
  std::uint32_t u(int count) { return bits_.read(count); }
  std::uint32_t ue() {
    int zeros = 0;
    while (!bits_.flag() && zeros < kMostGolombZeros && !bits_.overrun()) ++zeros;
    return (std::uint32_t{1} << zeros) - 1 + bits_.read(zeros);
  }
  std::int32_t se() {
    const std::uint32_t code = ue();
    const auto half = static_cast<std::int32_t>((code + 1) / 2);
    return code % 2 ? half : -half;
  }
  bool overrun() const { return bits_.overrun(); }

 private:
  BitReader bits_;
};

// The NAL unit's payload without its emulation prevention bytes (00 00 03).
std::vector<std::uint8_t> rbsp(std::span<const std::uint8_t> nal) {
  std::vector<std::uint8_t> out;
  int zeros = 0;
  for (std::uint8_t byte : nal) {
    if (zeros >= 2 && byte == 0x03) {
      zeros = 0;
      continue;
    }
    zeros = byte == 0 ? zeros + 1 : 0;
    out.push_back(byte);
  }
  return out;
}

void skipScalingLists(GolombReader& r, int lists) {
  for (int list = 0; list < lists; ++list) {
    if (!r.u(1)) continue;
    const int size = list < 6 ? 16 : 64;
    std::int32_t last = 8;
    std::int32_t next = 8;
    for (int j = 0; j < size && next != 0; ++j) {
      next = (last + r.se() + 256) % 256;
      last = next == 0 ? last : next;
    }
  }
}

void skipPictureOrder(GolombReader& r) {
  const std::uint32_t type = r.ue();
  if (type == 0) {
    r.ue();  // log2_max_pic_order_cnt_lsb_minus4
  } else if (type == 1) {
    r.u(1);
    r.se();
    r.se();
    const std::uint32_t cycle = std::min<std::uint32_t>(r.ue(), 255);
    for (std::uint32_t n = 0; n < cycle; ++n) r.se();
  }
}

// seq_parameter_set_data, as far as the frame's size and cropping.
std::optional<VideoFrame> h264Frame(std::span<const std::uint8_t> sps) {
  const std::vector<std::uint8_t> bytes = rbsp(sps);
  GolombReader r(bytes);
  const std::uint32_t profile = r.u(8);
  r.u(16);  // constraint flags, level_idc
  r.ue();   // seq_parameter_set_id
  std::uint32_t chroma = 1;
  if (std::find(kHighProfiles.begin(), kHighProfiles.end(), profile) != kHighProfiles.end()) {
    chroma = r.ue();
    if (chroma == 3) r.u(1);  // separate_colour_plane_flag
    r.ue();                   // bit depths
    r.ue();
    r.u(1);
    if (r.u(1)) skipScalingLists(r, chroma == 3 ? 12 : 8);
  }
  r.ue();  // log2_max_frame_num_minus4
  skipPictureOrder(r);
  r.ue();  // max_num_ref_frames
  r.u(1);
  const std::uint32_t widthMbs = r.ue() + 1;
  const std::uint32_t heightUnits = r.ue() + 1;
  const std::uint32_t frameMbsOnly = r.u(1);
  if (!frameMbsOnly) r.u(1);
  r.u(1);                               // direct_8x8_inference_flag
  std::array<std::uint32_t, 4> crop{};  // left, right, top, bottom
  if (r.u(1)) {
    for (std::uint32_t& edge : crop) edge = r.ue();
  }
  if (r.overrun() || chroma > 3) return std::nullopt;
  const std::uint32_t cropX = chroma == 1 || chroma == 2 ? 2 : 1;
  const std::uint32_t cropY = (chroma == 1 ? 2 : 1) * (2 - frameMbsOnly);
  const auto width = static_cast<std::int64_t>(widthMbs * kMacroblock) -
                     static_cast<std::int64_t>(cropX * (crop[0] + crop[1]));
  const auto height = static_cast<std::int64_t>((2 - frameMbsOnly) * heightUnits * kMacroblock) -
                      static_cast<std::int64_t>(cropY * (crop[2] + crop[3]));
  if (width <= 0 || height <= 0 || width > 8192 || height > 8192) return std::nullopt;
  return VideoFrame{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<VideoFrame> mpeg2Frame(std::span<const std::uint8_t> header) {
  BitReader r(header);
  const auto width = static_cast<int>(r.read(12));
  const auto height = static_cast<int>(r.read(12));
  if (r.overrun() || width == 0 || height == 0) return std::nullopt;
  return VideoFrame{width, height};
}

std::optional<VideoFrame> vc1Frame(std::span<const std::uint8_t> header) {
  BitReader r(header);
  if (r.read(2) != kVc1Advanced) return std::nullopt;
  r.skip(3 + 2 + 3 + 5 + 1);  // level, colour format, post-processing rates and flag
  VideoFrame frame{static_cast<int>(r.read(12) + 1) * 2, static_cast<int>(r.read(12) + 1) * 2};
  r.skip(6);       // pulldown, interlace, frame counter, interpolation, reserved, PSF
  if (r.flag()) {  // DISPLAY_EXT
    frame = {static_cast<int>(r.read(14)) + 1, static_cast<int>(r.read(14)) + 1};
  }
  if (r.overrun()) return std::nullopt;
  return frame;
}

bool isStartCode(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes[at] == 0 && bytes[at + 1] == 0 && bytes[at + 2] == 1;
}

}  // namespace

std::optional<VideoFrame> sequenceFrame(const Codec& codec, std::span<const std::uint8_t> bytes) {
  const bool h264 = &codec == codecOf(StreamGroup::Video, ps::kH264VideoFirst);
  const bool vc1 = &codec == codecOf(StreamGroup::Video, ps::kVc1Video0);
  for (std::size_t at = 0; at + 4 <= bytes.size(); ++at) {
    if (!isStartCode(bytes, at)) continue;
    const std::uint8_t code = bytes[at + 3];
    const bool sequence =
        h264 ? (code & kNalTypeMask) == kH264Sps : code == (vc1 ? kVc1Sequence : kMpeg2Sequence);
    if (!sequence) continue;
    const auto header = bytes.subspan(at + 4);
    if (header.size() < kHeaderBytes) return std::nullopt;  // wait for more of it
    const auto read = header.first(kHeaderBytes);
    return h264 ? h264Frame(read) : vc1 ? vc1Frame(read) : mpeg2Frame(read);
  }
  return std::nullopt;
}

void FrameProbe::packetStart(const OutputPacket& packet) {
  if (!codec_ && packet.codec >= 0) codec_ = &kCodecs.at(static_cast<std::size_t>(packet.codec));
  output_->packetStart(packet);
}

void FrameProbe::write(const std::uint8_t* data, std::size_t size) {
  output_->write(data, size);
  if (done_ || !codec_) return;
  head_.insert(head_.end(), data, data + std::min(size, kMostBytes - head_.size()));
  const auto frame = sequenceFrame(*codec_, head_);
  done_ = frame || head_.size() == kMostBytes;
  if (frame) frame_ = *frame;
  if (done_) head_ = {};
}

}  // namespace tessaly
