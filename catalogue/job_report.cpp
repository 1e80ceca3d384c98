#include "catalogue/job_report.h"

#include <algorithm>

#include "catalogue/captions.h"
#include "engine/codecs.h"
#include "engine/stream_facts.h"
#include "job/output_set.h"
#include "session/selection.h"

namespace tessaly {
namespace {

std::optional<std::string> nonEmpty(const std::string& text) {
  return text.empty() ? std::nullopt : std::optional(text);
}

// The playlist's facts of a stream, from the title that plays the chosen EVO file.
const TrackFact* trackFact(const Session& s, StreamGroup group, int number) {
  const TitleFacts* title = chosenTitle(s);
  return title ? tessaly::trackFact(*title, group, number) : nullptr;
}

void addTiming(StreamEntry& e, const Session& s, const StreamFacts& r) {
  if (!r.timed) return;
  const auto first = static_cast<std::int64_t>(smallestPts(r));
  e.firstPts = first;
  e.lastPts = first + (r.highest - r.lowest);
  e.delayMs = delayMs(s.Found.streams, e.slot);
}

StreamEntry streamEntry(const Session& s, int slot) {
  const StreamFacts& r = s.Found.streams[slot];
  const SlotGroup& group = *groupOfSlot(slot);
  StreamEntry e;
  e.slot = slot;
  e.kind = group.kind;
  e.number = slot - group.firstSlot;
  const Codec* codec = codecOf(group.group, r.value);
  e.codec = codec ? codec->name : "";
  e.ids = r.ids;
  if (OutputSet::hasEntry(slot)) e.box = boxName(group.group, e.number);
  // A stream written carries its box's caption in its output's name; any other the
  // caption "Read EVO" gives it.
  e.caption = StreamCaption(slot, r.value);
  if (const auto output = s.Found.outputs.find(slot); output != s.Found.outputs.end()) {
    e.output = output->second;
    e.caption = slotBox(s.fMain, slot).caption;
  }
  e.packets = r.packets;
  e.bytes = r.bytes;
  if (group.group == StreamGroup::Sub) e.units = r.timedPackets;
  if (const auto units = s.Found.subpictures.find(slot); units != s.Found.subpictures.end()) {
    e.unitFacts = units->second;
  }
  addTiming(e, s, r);
  if (const TrackFact* track = trackFact(s, group.group, e.number)) {
    e.language = nonEmpty(track->language);
    e.description = nonEmpty(track->description);
    e.langcodeExtension = track->extension;
  }
  return e;
}

std::optional<TitleEntry> titleEntry(const Session& s) {
  const TitleFacts* title = chosenTitle(s);
  if (!title) return std::nullopt;
  TitleEntry t{s.Playlist.file, title->name, std::nullopt, title->chapters};
  if (title->durationMs >= 0) t.durationMs = title->durationMs;
  return t;
}

}  // namespace

const TitleFacts* chosenTitle(const Session& s) {
  return s.Playlist.titleFor(s.BaseName);
}

std::string playlistLanguage(const Session& s, int slot) {
  const SlotGroup& group = *groupOfSlot(slot);
  const TrackFact* track = trackFact(s, group.group, slot - group.firstSlot);
  return track ? track->language : "";
}

JobReport jobReport(const Session& s) {
  JobReport report;
  report.file = s.Found.file;
  report.size = s.Found.size;
  report.continuedWith = nonEmpty(s.Found.continuedWith);
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (s.Found.streams[slot].value >= 0) report.streams.push_back(streamEntry(s, slot));
  }
  report.title = titleEntry(s);
  report.warnings = s.Found.warnings;
  return report;
}

}  // namespace tessaly
