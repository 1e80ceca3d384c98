// Whether an MPEG-2 video stream's PTS agree with its pictures' own timing: the frame rate
// of its sequence header and each picture's fields (repeat_first_field and top_field_first
// in progressive and interlaced sequences, field pictures). mkvmerge times MPEG-2 video by
// those headers, so where the PTS jump the Matroska file does not follow them. Pictures are
// checked a GOP at a time, in display order (temporal_reference); a PTS belongs to the first
// picture starting in its packet.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <memory>

#include "audio/packet_stamps.h"

namespace tessaly {

// Units (audio/audio_time.h) after the first PTS checked.
struct VideoDisagreement {
  std::uint64_t offset = 0;  // of the picture whose PTS disagrees
  std::int64_t at = 0;       // where the pictures' timing puts it
  std::int64_t jump = 0;     // its PTS minus that
};

struct VideoTiming {
  std::optional<std::uint64_t> anchorPts;        // the first PTS checked
  std::uint64_t pictures = 0;                    // frames (a pair of field pictures is one)
  std::uint64_t checked = 0;                     // of them, with a PTS compared
  std::vector<VideoDisagreement> disagreements;  // by more than a frame; the timing goes on
                                                 // from the PTS that disagreed
};

class Mpeg2Timing {
 public:
  Mpeg2Timing();
  ~Mpeg2Timing();
  // As a frame walker is fed (audio/frame_walker.h): packet starts and payload runs.
  void packet(std::uint64_t streamOffset, std::optional<std::uint64_t> pts);
  void bytes(const std::uint8_t* data, std::size_t size);
  // The pictures so far are a segment's: where they end, in units after the anchor (none
  // before a timed picture). A picture cut off by the segment's end is counted whole.
  std::optional<std::int64_t> endSegment();
  const VideoTiming& finish();
  const VideoTiming& timing() const { return timing_; }

 private:
  struct Picture;
  struct Gop;

  std::size_t scan(const std::uint8_t* data, std::size_t size, std::uint64_t offset);
  std::size_t codeFound(std::uint64_t at);
  void startCode(std::uint8_t code, std::uint64_t offset);
  void header();
  void sequenceHeader();
  void extension();
  void pictureHeader();
  void endPicture();
  void endGop();
  void check(const std::vector<Picture>& pictures);

  PacketStamps stamps_;
  std::uint64_t position_ = 0;
  int zeros_ = 0;             // zero bytes just before the next byte
  bool codeDue_ = false;      // 00 00 01 seen: the next byte is a start code
  std::uint64_t codeAt_ = 0;  // where that start code begins
  std::uint8_t code_ = 0;     // the start code whose header bytes are being gathered
  std::vector<std::uint8_t> header_;
  std::size_t need_ = 0;
  std::int64_t fieldUnits_ = 0;  // one field's duration; 0 before a sequence header
  bool progressiveSequence_ = false;
  int frameRateCode_ = 0;
  std::unique_ptr<Picture> picture_;  // the picture whose extension may still come
  std::unique_ptr<Gop> gop_;
  std::optional<std::int64_t> gopStart_;  // units after the anchor where the GOP starts
  std::uint64_t lastPts_ = 0;
  std::int64_t lastTicks_ = 0;
  VideoTiming timing_;
};

}  // namespace tessaly
