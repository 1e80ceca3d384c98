#include "audio/audio_clock.h"

#include <algorithm>
#include <cstdlib>

#include "engine/pts.h"

namespace tessaly {
namespace {

constexpr std::uint64_t kStampMask = (std::uint64_t{1} << 33) - 1;
// Breaks cut into parts; a stream with more is damaged beyond what a part per break helps.
constexpr std::size_t kMaxBreaks = 4096;

}  // namespace

// The frame's PTS in units after the anchor (the first PTS sets it); none without a PTS.
std::optional<std::int64_t> AudioClock::stampOf(const AudioFrame& frame) {
  if (!frame.pts) return std::nullopt;
  const std::uint64_t pts = (*frame.pts + static_cast<std::uint64_t>(offset_)) & kStampMask;
  if (!timeline_.anchorPts) {
    timeline_.anchorPts = pts;
    // The frames before it end where it starts.
    if (!timeline_.parts.empty()) timeline_.parts.front().start = -untimed_;
  } else {
    lastTicks_ += stampDistance(lastPts_, pts);
  }
  lastPts_ = pts;
  return ticksToUnits(lastTicks_);
}

bool AudioClock::breaks(std::int64_t difference) const {
  return std::abs(difference) * 2 > lastDuration_;
}

std::int64_t AudioClock::keptEnd() const {
  const AudioPart& last = timeline_.parts.back();
  return last.start + last.duration;
}

void AudioClock::frame(const AudioFrame& frame) {
  ++timeline_.frames;
  const std::optional<std::int64_t> stamp = stampOf(frame);
  const std::int64_t time = stamp.value_or(discNext_);
  if (timeline_.parts.empty()) {
    startPart(frame, time);
  } else if (dropping_) {
    dropping(frame, time, stamp);
  } else {
    keep(frame, time, stamp);
  }
  if (!timeline_.anchorPts) untimed_ += frame.duration();
  discNext_ = time + frame.duration();
  lastDuration_ = frame.duration();
}

// A frame after one that plays: it plays on, unless its PTS breaks the time line.
void AudioClock::keep(const AudioFrame& frame, std::int64_t time,
                      std::optional<std::int64_t> stamp) {
  const std::int64_t expected = keptEnd();
  if (stamp && breaks(time - expected) && timeline_.breaks.size() < kMaxBreaks) {
    breakAt(frame, time, expected);
    return;
  }
  if (stamp && breaks(time - expected)) ++timeline_.breaksNotCut;
  if (stamp) timeline_.largestDrift = std::max(timeline_.largestDrift, std::abs(time - expected));
  AudioPart& part = timeline_.parts.back();
  part.end = frame.end();
  part.duration += frame.duration();
  ++part.frames;
}

// A gap starts a part at the frame; an overlap leaves out the frames that start before the
// time line's end (less half a frame). Either waits for a frame a decoder can start at.
void AudioClock::breakAt(const AudioFrame& frame, std::int64_t time, std::int64_t expected) {
  timeline_.breaks.push_back({frame.offset, expected, time - expected, 0, 0});
  if (time > expected && frame.majorSync) {
    startPart(frame, time);
    return;
  }
  dropping_ = true;
  dropBefore_ = time > expected ? time : expected - frame.duration() / 2;
  drop(frame, time);
}

// Frames left out after a break until one may start a part. A PTS that jumps again among
// them is a break of its own, judged against the time line's end.
void AudioClock::dropping(const AudioFrame& frame, std::int64_t time,
                          std::optional<std::int64_t> stamp) {
  const std::int64_t expected = keptEnd();
  const bool jumped = stamp && breaks(time - discNext_);
  if (jumped && breaks(time - expected) && timeline_.breaks.size() < kMaxBreaks) {
    dropping_ = false;
    breakAt(frame, time, expected);
    return;
  }
  if (frame.majorSync && (time >= dropBefore_ || jumped)) {
    dropping_ = false;
    startPart(frame, time);
    return;
  }
  drop(frame, time);
}

void AudioClock::drop(const AudioFrame& frame, std::int64_t time) {
  AudioBreak& last = timeline_.breaks.back();
  ++last.framesDropped;
  if (time >= dropBefore_) last.lost += frame.duration();
}

void AudioClock::startPart(const AudioFrame& frame, std::int64_t time) {
  timeline_.parts.push_back({frame.offset, frame.end(), time, frame.duration(), 1});
}

}  // namespace tessaly
