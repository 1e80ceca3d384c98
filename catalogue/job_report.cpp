#include "catalogue/job_report.h"

#include <algorithm>

#include "catalogue/box_names.h"
#include "catalogue/captions.h"
#include "engine/codecs.h"
#include "engine/stream_facts.h"

namespace tessaly {
namespace {

std::optional<std::string> nonEmpty(const std::string& text) {
  return text.empty() ? std::nullopt : std::optional(text);
}

// The playlist's facts of a stream, from the title that plays the EVO file.
const TrackFact* trackFact(const TitleFacts* title, StreamGroup group, int number) {
  return title ? tessaly::trackFact(*title, group, number) : nullptr;
}

void addTiming(StreamEntry& e, const Findings& found, const StreamFacts& r) {
  if (!r.timed) return;
  const auto first = static_cast<std::int64_t>(smallestPts(r));
  e.firstPts = first;
  e.lastPts = first + (r.highest - r.lowest);
  e.delayMs = delayMs(found.streams, e.slot);
}

StreamEntry streamEntry(const Findings& found, const TitleFacts* title, int slot) {
  const StreamFacts& r = found.streams[slot];
  const SlotGroup& group = *groupOfSlot(slot);
  StreamEntry e;
  e.slot = slot;
  e.kind = group.kind;
  e.number = slot - group.firstSlot;
  const Codec* codec = codecOf(group.group, r.value);
  e.codec = codec ? codec->name : "";
  e.ids = r.ids;
  e.box = slotBoxName(slot);
  // A stream written carries the caption its output was named with; any other the
  // caption "Read EVO" gives it.
  e.caption = StreamCaption(slot, r.value);
  if (const auto output = found.outputs.find(slot); output != found.outputs.end()) {
    e.output = output->second;
    e.caption = found.captions.at(slot);
  }
  e.packets = r.packets;
  e.bytes = r.bytes;
  if (group.group == StreamGroup::Sub) e.units = r.timedPackets;
  if (const auto units = found.subpictures.find(slot); units != found.subpictures.end()) {
    e.unitFacts = units->second;
  }
  addTiming(e, found, r);
  if (const TrackFact* track = trackFact(title, group.group, e.number)) {
    e.language = nonEmpty(track->language);
    e.description = nonEmpty(track->description);
    e.channels = track->channels;
    e.langcodeExtension = track->extension;
  }
  return e;
}

std::optional<TitleEntry> titleEntry(const TitleFacts* title, const std::string& playlist) {
  if (!title) return std::nullopt;
  TitleEntry t{playlist, title->name, std::nullopt, title->chapters};
  if (title->durationMs >= 0) t.durationMs = title->durationMs;
  return t;
}

}  // namespace

std::string playlistLanguage(const TitleFacts* title, int slot) {
  const SlotGroup& group = *groupOfSlot(slot);
  const TrackFact* track = trackFact(title, group.group, slot - group.firstSlot);
  return track ? track->language : "";
}

JobReport jobReport(const Findings& found, const TitleFacts* title, const std::string& playlist) {
  JobReport report;
  report.file = found.file;
  report.size = found.size;
  report.continuedWith = nonEmpty(found.continuedWith);
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (found.streams[slot].value >= 0) report.streams.push_back(streamEntry(found, title, slot));
  }
  report.title = titleEntry(title, playlist);
  report.warnings = found.warnings;
  return report;
}

}  // namespace tessaly
