#include "playlist/title_phase.h"

#include <array>

#include "playlist/attr_lists.h"
#include "playlist/attr_value.h"
#include "playlist/title_cut.h"

namespace tessaly {
namespace {

// The top-level nodes of the tree, in order.
enum Node : std::size_t { kInfo, kVideo, kAudio, kSubtitle, kChapter };

// Each kind marks numbers 1..16 in the stream table, number n in the slot of stream n - 1.
constexpr std::int32_t kMarkedNumbers = 16;
constexpr int kLastMarkSlot = kSubSlot - 1 + kMarkedNumbers;

struct TrackKind {
  const char* element;     // the line test, upper case
  const char* numberName;  // the attribute holding the track or stream number
  Node node;
  std::array<std::string, 8> AttrLists::*attrs;
  StreamSites TitleSites::*sites;
  StreamGroup group;
  std::int32_t boxed;  // numbers 1..boxed label the box of stream number - 1
};

constexpr std::array<TrackKind, 3> kTrackKinds{{
    {"<VIDEO ", "track", kVideo, &AttrLists::video, &TitleSites::video, StreamGroup::Video, 1},
    {"<AUDIO ", "streamNumber", kAudio, &AttrLists::audio, &TitleSites::audio, StreamGroup::Audio,
     kMarkedNumbers},
    {"<SUBTITLE ", "streamNumber", kSubtitle, &AttrLists::sub, &TitleSites::subtitle,
     StreamGroup::Sub, kMarkedNumbers},
}};

bool has(const std::string& upperLine, const char* text) {
  return upperLine.find(text) != std::string::npos;
}

// What one title phase works on: the result it fills, and the observer of its log lines.
struct Phase {
  XplResult& result;
  JobObserver& observer;
};

// Marks a number as labelled; false when it already was. Numbers 1..16 use their own
// group's slots; any other number is remembered beside the table, touching no slot.
bool markTrack(Phase& p, const TrackKind& kind, StreamSites& sites, std::int32_t number) {
  if (number < 1 || number > kMarkedNumbers) return sites.unslotted.insert(number).second;
  std::int32_t& mark =
      p.result.table[slotGroup(kind.group).firstSlot + static_cast<int>(evoNumber(number))];
  if (mark != -1) return false;
  mark = 1;
  return true;
}

std::string trackLabel(const Phase& p, const TrackKind& kind, StreamSites& sites,
                       const std::string& line, std::int32_t number) {
  const auto media = StrToInt(AttrValue(line, "mediaAttr", sites.mediaAttr));
  // Audio and subtitle numbers show two digits, as the boxes do.
  std::string label = attrEntry(p.result.attributes.*kind.attrs, media) + ".stream." +
                      numberText(slotGroup(kind.group), evoNumber(number));
  if (kind.group != StreamGroup::Video)
    label += "." + AttrValue(line, "description", sites.description);
  return label.substr(0, kMaxLabel);
}

void labelTrack(Phase& p, TitleSites& title, const TrackKind& kind, const std::string& line) {
  StreamSites& sites = title.*kind.sites;
  const auto number = StrToInt(AttrValue(line, kind.numberName, sites.number));
  if (!markTrack(p, kind, sites, number)) return;
  const std::string label = trackLabel(p, kind, sites, line, number);
  if (!addTreeEntry(p.result.tree, kind.node, label)) return;
  p.observer.log(label + " found!");
  // The box of a track: video track 1 only, audio and subtitle streams 1..16.
  if (number >= 1 && number <= kind.boxed) {
    p.result.labels.push_back({kind.group, static_cast<int>(evoNumber(number)), label});
  }
}

// The five tests on one line of the title; a line may feed several of them.
void readTitleLine(Phase& p, TitleSites& title, const std::string& line) {
  const std::string upper = upperAscii(line);
  auto& tree = p.result.tree;
  if (has(upper, "<TITLE ")) {
    addTreeEntry(tree, kInfo, "Name: " + AttrValue(line, "displayName", title.titleName));
    addTreeEntry(tree, kInfo, "Duration: " + AttrValue(line, "titleDuration", title.titleDuration));
  }
  for (const auto& kind : kTrackKinds) {
    if (has(upper, kind.element)) labelTrack(p, title, kind, line);
  }
  if (has(upper, "<CHAPTER ")) {
    const std::string begin = AttrValue(line, "titleTimeBegin", title.chapterBegin);
    addTreeEntry(tree, kChapter, begin + ": " + AttrValue(line, "displayName", title.chapterName));
  }
}

}  // namespace

void titlePhase(XplResult& result, const std::optional<std::size_t>& match, XplRun& run,
                JobObserver& observer) {
  result.table.reset(1, kLastMarkSlot);
  if (!cutToTitle(result.memo, match)) return;
  result.tree = {{"Info", {}}, {"Video", {}}, {"Audio", {}}, {"Subtitle", {}}, {"Chapter", {}}};
  if (!run.PlaylistName.empty()) addTreeEntry(result.tree, kInfo, "Title: " + run.PlaylistName);
  Phase phase{result, observer};
  for (const auto& line : result.memo) readTitleLine(phase, run.title, line);
}

}  // namespace tessaly
