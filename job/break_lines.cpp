#include "job/break_lines.h"

#include "engine/codecs.h"
#include "engine/output_keys.h"
#include "engine/stream_slots.h"

namespace tessaly {
namespace {

// The stream number of a timed stream's output key.
int streamNumber(int key) {
  const int slot = keySlot(key);
  return slot - groupOfSlot(slot)->firstSlot;
}

std::vector<BreakRecord> audioBreaks(const JobTimingResult& timing,
                                     const AudioStreamTiming& stream) {
  const std::int64_t zero = delayZero(timing, stream);
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

std::vector<std::string> breakLines(const JobTimingResult& timing) {
  std::vector<std::string> lines;
  for (const AudioStreamTiming& stream : timing.streams) {
    const std::string codec = audioCodec(stream.coding).name;
    for (const BreakRecord& record : audioBreaks(timing, stream)) {
      lines.push_back(breakWarning(streamNumber(stream.slot), codec, record));
    }
  }
  if (!videoChecked(timing)) return lines;
  const std::string codec = codecOf(StreamGroup::Video, ps::kMpeg2VideoFirst)->name;
  for (const BreakRecord& record : videoBreaks(timing)) {
    lines.push_back(videoBreakWarning(0, codec, record));
  }
  return lines;
}

}  // namespace tessaly
