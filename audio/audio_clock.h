// The clock of one audio stream: the disc time of every frame, from the PTS of the frames
// that carry one and the durations of those between, and the breaks in its time line. A
// break is a frame whose PTS differs from where the frames before it end by more than half
// a frame: a gap when it is later, an overlap when it is earlier. The time line is cut
// there into parts that each play without a break; of an overlap the later copy is left
// out (so the time line never runs backwards), and a part starts only at a frame a decoder
// can start at (a TrueHD major sync). Nothing keeps the frames: a part or a break is a few
// numbers, and the breaks of a stream are limited.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "audio/audio_frame.h"

namespace tessaly {

// Times are in units (audio/audio_time.h) after the anchor, the stream's first PTS.
struct AudioBreak {
  std::uint64_t offset = 0;  // of the frame whose PTS breaks the time line
  std::int64_t at = 0;       // where the time line was due to go on: the end of the audio before
  std::int64_t jump = 0;     // that frame's PTS minus `at`: above 0 a gap, below an overlap
  std::uint64_t framesDropped = 0;  // frames left out from it on: the later copy of an overlap,
                                    // and those before the next frame a decoder can start at
  std::int64_t lost = 0;  // of those, the time they would have played that nothing else plays
};

// Frames that play one after another without a break: stream bytes [begin, end).
struct AudioPart {
  std::uint64_t begin = 0;
  std::uint64_t end = 0;
  std::int64_t start = 0;     // its first frame's disc time
  std::int64_t duration = 0;  // its frames' durations, added
  std::uint64_t frames = 0;

  bool operator==(const AudioPart&) const = default;
};

struct AudioTimeline {
  std::optional<std::uint64_t> anchorPts;  // the first PTS met, as put in line; none: untimed
  std::vector<AudioPart> parts;
  std::vector<AudioBreak> breaks;
  std::uint64_t frames = 0;        // every frame met, left out or not
  std::uint64_t breaksNotCut = 0;  // breaks past the limit, played on without a cut
  std::int64_t largestDrift = 0;   // the largest difference between a PTS and the time its
                                   // frame plays at, among the frames that break nothing
};

class AudioClock final : public FrameSink {
 public:
  // The frames from here on are a later segment's; their PTS, moved by `offsetTicks` (90 kHz),
  // are in line with the first segment's.
  void segment(std::int64_t offsetTicks) { offset_ = offsetTicks; }
  void frame(const AudioFrame& frame) override;
  // The time line of the frames so far.
  const AudioTimeline& timeline() const { return timeline_; }

 private:
  std::optional<std::int64_t> stampOf(const AudioFrame& frame);
  void keep(const AudioFrame& frame, std::int64_t time, std::optional<std::int64_t> stamp);
  void breakAt(const AudioFrame& frame, std::int64_t time, std::int64_t expected);
  void dropping(const AudioFrame& frame, std::int64_t time, std::optional<std::int64_t> stamp);
  void drop(const AudioFrame& frame, std::int64_t time);
  void startPart(const AudioFrame& frame, std::int64_t time);
  std::int64_t keptEnd() const;
  bool breaks(std::int64_t difference) const;

  AudioTimeline timeline_;
  std::int64_t offset_ = 0;
  std::uint64_t lastPts_ = 0;   // the last PTS, put in line (33 bits)
  std::int64_t lastTicks_ = 0;  // the same, unwrapped: ticks after the anchor
  std::int64_t untimed_ = 0;    // the duration of the frames before the first PTS
  std::int64_t discNext_ = 0;   // where the next frame starts on the disc, without a PTS
  std::int64_t lastDuration_ = 0;
  bool dropping_ = false;        // leaving out frames after the last break
  std::int64_t dropBefore_ = 0;  // frames starting before it are a copy of what plays already
};

}  // namespace tessaly
