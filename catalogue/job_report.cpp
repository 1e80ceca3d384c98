#include "catalogue/job_report.h"

#include <algorithm>

#include "catalogue/catalogue.h"
#include "catalogue/selection.h"
#include "engine/codecs.h"
#include "engine/stream_timing.h"
#include "shell/output_set.h"

namespace tessaly {
namespace {

std::optional<std::string> nonEmpty(const std::string& text) {
  return text.empty() ? std::nullopt : std::optional(text);
}

// The playlist's facts of a stream: its streamNumber is the EVO's number + 1.
const TrackFact* trackFact(const Session& s, StreamGroup group, int number) {
  const TitleFacts* title = chosenTitle(s);
  if (!title || group == StreamGroup::Video) return nullptr;
  const auto& tracks = group == StreamGroup::Audio ? title->audio : title->subtitles;
  const auto found = tracks.find(number + 1);
  return found == tracks.end() ? nullptr : &found->second;
}

void addTiming(StreamEntry& e, const Session& s, const StreamRecord& r) {
  if (!r.timed) return;
  const auto first = static_cast<std::int64_t>(smallestPts(r));
  e.firstPts = first;
  e.lastPts = first + (r.highest - r.lowest);
  e.delayMs = delayMs(s.Found.streams, e.slot);
}

StreamEntry streamEntry(const Session& s, int slot) {
  const StreamRecord& r = s.Found.streams[slot];
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
  addTiming(e, s, r);
  if (const TrackFact* track = trackFact(s, group.group, e.number)) {
    e.language = nonEmpty(track->language);
    e.description = nonEmpty(track->description);
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
  const PlaylistFacts& p = s.Playlist;
  if (p.chosen < 0 || p.baseName != s.BaseName) return nullptr;
  return &p.titles.at(static_cast<std::size_t>(p.chosen));
}

std::string playlistLanguage(const Session& s, int slot) {
  const SlotGroup& group = *groupOfSlot(slot);
  const TrackFact* track = trackFact(s, group.group, slot - group.firstSlot);
  return track ? track->language : "";
}

bool languageCode(const std::string& text) {
  return (text.size() == 2 || text.size() == 3) &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
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
