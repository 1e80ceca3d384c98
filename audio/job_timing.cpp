#include "audio/job_timing.h"

#include <algorithm>
#include <cmath>

#include "audio/matroska_parts.h"
#include "engine/pts.h"

namespace tessaly {
namespace {

// A segment's first video PTS is the smallest of its first sixteen: pictures that display
// before the first one coded come within a few after it.
constexpr std::size_t kLeadStamps = 16;
// A picture's duration when the PTS show none (a segment with a single timed picture).
constexpr std::int64_t kDefaultFrameTicks = 3003;
// Frames held for a later segment's offset; past them the segment is taken to go on.
constexpr std::size_t kMaxHeld = std::size_t{1} << 16;
constexpr std::uint64_t kStampMask = (std::uint64_t{1} << 33) - 1;

}  // namespace

// Video stream 0's PTS in one segment, unwrapped around its first.
struct JobTiming::Video {
  std::optional<std::uint64_t> first;
  std::int64_t lead = 0;     // the smallest of the first kLeadStamps, ticks after `first`
  std::int64_t highest = 0;  // the largest
  std::int64_t last = 0;     // the latest
  std::int64_t step = 0;     // the smallest rise from one PTS to the next
  std::size_t count = 0;
  std::optional<std::uint64_t> picturesEnd;  // MPEG-2: where the pictures' own timing ends

  void add(std::uint64_t pts) {
    if (!first) first = pts;
    const std::int64_t at = stampDistance(*first, pts);
    if (count > 0 && at > last && (step == 0 || at - last < step)) step = at - last;
    if (count < kLeadStamps) lead = std::min(lead, at);
    highest = std::max(highest, at);
    last = at;
    ++count;
  }
  // Where the segment's video ends: after its last picture, as its pictures time it when
  // they can (the last pictures may carry no PTS), else a frame after its largest PTS.
  SegmentVideo facts() const {
    if (!first) return {};
    const auto moved = [&](std::int64_t ticks) {
      return (*first + static_cast<std::uint64_t>(ticks)) & kStampMask;
    };
    const std::int64_t frame = step > 0 ? step : kDefaultFrameTicks;
    return {moved(lead), picturesEnd.value_or(moved(highest + frame)), frame};
  }
};

// One audio stream: its walk, its clock, and the frames waiting for their segment's offset.
struct JobTiming::Stream final : FrameSink {
  AudioCoding coding = AudioCoding::DD;
  std::optional<LpcmFormat> lpcm;
  std::unique_ptr<FrameWalker> walker;
  AudioClock clock;
  std::uint64_t bytes = 0;  // of its output so far
  bool holding = false;
  std::uint64_t holdFrom = 0;  // where the segment whose offset is awaited starts
  std::deque<AudioFrame> held;
  std::uint64_t segmentFrom = 0;  // where the segment of `offset` starts
  std::int64_t offset = 0;
  std::int64_t offsetBefore = 0;  // of the segment before it

  void hold() {
    holding = true;
    holdFrom = bytes;
  }
  // A frame is the segment's whose bytes it starts in: one that the walk confirms only
  // after the segment began (even after its offset is known) may still be the segment's
  // before.
  void frame(const AudioFrame& f) override {
    if (holding && f.offset >= holdFrom) {
      held.push_back(f);
      if (held.size() > kMaxHeld) release();
      return;
    }
    clock.segment(f.offset < segmentFrom ? offsetBefore : offset);
    clock.frame(f);
  }
  // Times the held frames; with an offset, as the segment's.
  void release(std::optional<std::int64_t> segmentOffset = std::nullopt) {
    offsetBefore = offset;
    offset = segmentOffset.value_or(offset);
    segmentFrom = holdFrom;
    holding = false;
    clock.segment(offset);
    for (const AudioFrame& f : held) clock.frame(f);
    held.clear();
  }
};

JobTiming::JobTiming(JobTimingOptions options) : options_(options), video_(1), offsets_{0} {}
JobTiming::~JobTiming() = default;

JobTiming::Stream& JobTiming::streamOf(const PacketStart& packet) {
  auto& stream = streams_[packet.slot];
  if (!stream) {
    stream = std::make_unique<Stream>();
    stream->coding = packet.coding;
    if (packet.coding == AudioCoding::Lpcm) stream->lpcm = lpcmFormat(packet.lpcmFormat);
    stream->walker = frameWalker(packet.coding, packet.lpcmFormat, *stream);
    if (!aligned_) stream->hold();
  }
  return *stream;
}

void JobTiming::packetStart(const PacketStart& packet) {
  if (packet.kind == PacketKind::Video && packet.slot == kVideoSlot) videoPacket(packet);
  if (packet.kind == PacketKind::Audio) {
    Stream& s = streamOf(packet);
    if (s.walker)
      s.walker->packet(s.bytes, packet.hasPts ? std::optional(packet.pts) : std::nullopt);
  } else if (packet.kind == PacketKind::MpegAudio && streams_.count(packet.slot) > 0) {
    // MPEG audio following the stream into its output: a packet without the stream's time.
    Stream& s = *streams_[packet.slot];
    if (s.walker) s.walker->packet(s.bytes, std::nullopt);
  }
}

void JobTiming::payload(int slot, const std::uint8_t* data, std::size_t size) {
  if (slot == kVideoSlot && mpeg2_) {
    videoBytes_ += size;
    mpeg2_->bytes(data, size);
  }
  const auto found = streams_.find(slot);
  if (found == streams_.end()) return;
  Stream& s = *found->second;
  s.bytes += size;
  if (s.walker) s.walker->bytes(data, size);
}

// Video stream 0's PTS time the segments; the first packet tells whether it is MPEG-2.
void JobTiming::videoPacket(const PacketStart& packet) {
  if (!videoMet_) {
    videoMet_ = true;
    if (options_.checkVideo &&
        packetCodec(packet) == codecOf(StreamGroup::Video, ps::kMpeg2VideoFirst)) {
      mpeg2_ = std::make_unique<Mpeg2Timing>();
    }
  }
  if (packet.hasPts) {
    video_.back().add(packet.pts);
    if (!aligned_ && video_.back().count >= kLeadStamps) alignSegment();
  }
  if (!mpeg2_) return;
  std::optional<std::uint64_t> pts;
  if (packet.hasPts && aligned_) {
    pts = (packet.pts + static_cast<std::uint64_t>(offsets_.back())) & kStampMask;
  }
  mpeg2_->packet(videoBytes_, pts);
}

// The pictures' timing ends with the segment; in the segment's own PTS, unmoved.
void JobTiming::endVideoSegment() {
  if (!mpeg2_) return;
  const std::optional<std::int64_t> end = mpeg2_->endSegment();
  const auto anchor = mpeg2_->timing().anchorPts;
  if (!end || !anchor) return;
  const auto ticks =
      static_cast<std::uint64_t>(std::llround(static_cast<double>(*end) / kUnitsPerTick));
  video_.back().picturesEnd =
      (*anchor + ticks - static_cast<std::uint64_t>(offsets_.back())) & kStampMask;
}

void JobTiming::segmentStart() {
  if (!aligned_) alignSegment();
  endVideoSegment();
  video_.emplace_back();
  aligned_ = false;
  for (auto& [slot, stream] : streams_) stream->hold();
}

// The current segment's first video PTS is known (or will not be): its offset, and the
// frames that waited for it.
void JobTiming::alignSegment() {
  std::vector<SegmentVideo> facts;
  for (const Video& v : video_) facts.push_back(v.facts());
  offsets_ = segmentOffsets(facts);
  for (auto& [slot, stream] : streams_) {
    if (stream->holding) stream->release(offsets_.back());
  }
  aligned_ = true;
}

JobTimingResult JobTiming::finish() {
  for (auto& [slot, stream] : streams_) {
    if (stream->walker) stream->walker->finish();
  }
  if (!aligned_) alignSegment();
  endVideoSegment();
  JobTimingResult result;
  for (const Video& v : video_) result.segments.push_back(v.facts());
  result.offsets = offsets_;
  result.zeroPts = result.segments.front().firstPts;
  if (mpeg2_) result.video = mpeg2_->finish();
  for (const auto& [slot, stream] : streams_) {
    result.streams.push_back({slot, stream->coding, stream->walker != nullptr,
                              stream->walker ? stream->walker->stats() : WalkStats{},
                              stream->clock.timeline(), stream->lpcm});
  }
  return result;
}

std::int64_t delayZero(const JobTimingResult& result, const AudioStreamTiming& stream) {
  if (result.zeroPts) return unitsAfterAnchor(stream.timeline, *result.zeroPts);
  std::optional<std::int64_t> earliest;
  for (const AudioStreamTiming& other : result.streams) {
    if (!other.timeline.anchorPts || other.timeline.parts.empty()) continue;
    const std::int64_t start = unitsAfterAnchor(stream.timeline, *other.timeline.anchorPts) +
                               other.timeline.parts.front().start;
    earliest = std::min(earliest.value_or(start), start);
  }
  return earliest.value_or(0);
}

}  // namespace tessaly
