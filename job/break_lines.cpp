#include "job/break_lines.h"

#include "engine/codecs.h"
#include "engine/output_keys.h"
#include "engine/stream_slots.h"

namespace tessaly {
namespace {

std::vector<BreakRecord> audioBreaks(const JobTimingResult& timing, const AudioStreamTiming& stream,
                                     std::int64_t later = 0) {
  const std::int64_t zero = delayZero(timing, stream) - later;
  std::vector<BreakRecord> records;
  for (const AudioBreak& b : stream.timeline.breaks) records.push_back(breakRecord(b, zero));
  return records;
}

std::vector<BreakRecord> videoBreaks(const JobTimingResult& timing) {
  std::vector<BreakRecord> records;
  for (const VideoDisagreement& d : timing.video->disagreements) {
    records.push_back(videoBreakRecord(*timing.video, d, *timing.zeroPts));
  }
  return records;
}

bool videoChecked(const JobTimingResult& timing) {
  return timing.video && timing.zeroPts;
}

}  // namespace

int streamNumber(int key) {
  const int slot = keySlot(key);
  return slot - groupOfSlot(slot)->firstSlot;
}

StreamBreak streamBreak(const AudioStreamTiming& stream, const BreakRecord& record) {
  return {streamNumber(stream.slot), audioCodec(stream.coding).name, record};
}

std::vector<StreamBreak> streamBreaks(const JobTimingResult& timing,
                                      const AudioStreamTiming& stream, std::int64_t later) {
  std::vector<StreamBreak> breaks;
  for (const BreakRecord& record : audioBreaks(timing, stream, later)) {
    breaks.push_back(streamBreak(stream, record));
  }
  return breaks;
}

StreamBreaks jobBreaks(const JobTimingResult& timing) {
  StreamBreaks breaks;
  for (const AudioStreamTiming& stream : timing.streams) {
    // A number's codings routed apart are one entry of the report: their breaks together.
    const std::vector<BreakRecord> records = audioBreaks(timing, stream);
    std::vector<BreakRecord>& entry = breaks[keySlot(stream.slot)];
    entry.insert(entry.end(), records.begin(), records.end());
  }
  if (videoChecked(timing)) breaks[kVideoSlot] = videoBreaks(timing);
  return breaks;
}

std::vector<std::string> audioBreakLines(const std::vector<StreamBreak>& breaks) {
  std::vector<std::string> lines;
  for (std::size_t n = 0; n < breaks.size() && n < kShownBreaks; ++n) {
    lines.push_back(breakWarning(breaks[n].number, breaks[n].codec, breaks[n].record));
  }
  if (breaks.size() <= kShownBreaks) return lines;
  const StreamBreak& last = breaks[kShownBreaks - 1];
  lines.push_back(moreBreaksWarning(last.number, last.codec, breaks.size() - kShownBreaks));
  return lines;
}

std::vector<std::string> breakLines(const JobTimingResult& timing) {
  std::vector<std::string> lines;
  for (const AudioStreamTiming& stream : timing.streams) {
    const std::vector<std::string> said = audioBreakLines(streamBreaks(timing, stream));
    lines.insert(lines.end(), said.begin(), said.end());
  }
  if (!videoChecked(timing)) return lines;
  const std::string codec = codecOf(StreamGroup::Video, ps::kMpeg2VideoFirst)->name;
  for (const BreakRecord& record : videoBreaks(timing)) {
    lines.push_back(videoBreakWarning(0, codec, record));
  }
  return lines;
}

}  // namespace tessaly
