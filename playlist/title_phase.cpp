#include "playlist/title_phase.h"

#include <array>

#include "catalogue/selection.h"
#include "playlist/attr_lists.h"
#include "playlist/attr_value.h"
#include "playlist/title_cut.h"
#include "shell/report.h"

namespace tessaly {
namespace {

// The top-level nodes of the tree, in order.
enum Node : std::size_t { kInfo, kVideo, kAudio, kSubtitle, kChapter };

// Each kind marks numbers 1..16 in the stream table, number n in the slot of stream n - 1.
constexpr std::int32_t kMarkedNumbers = 16;
constexpr int kLastMarkSlot = kSubSlot - 1 + kMarkedNumbers;
// Real titles have a few tracks and at most some hundred chapters, and a real label is
// below 300 characters (a description may have 252). The lookup sites keep their values,
// so a hostile title of short lines could fill the tree and the log with labels of three
// long values each: a label keeps its first kMaxLabel characters, and the tree lists at
// most 32,768 entries, then says that more were left out.
constexpr std::size_t kTreeEntries = 32768;

struct TrackKind {
  const char* element;     // the line test, upper case
  const char* numberName;  // the attribute holding the track or stream number
  Node node;
  std::array<std::string, 8> Session::*attrs;
  StreamSites TitleSites::*sites;
  BoxGroup group;
  std::int32_t boxed;  // numbers 1..boxed label the box of stream number - 1
};

constexpr std::array<TrackKind, 3> kTrackKinds{{
    {"<VIDEO ", "track", kVideo, &Session::VideoAttr, &TitleSites::video, BoxGroup::Video, 1},
    {"<AUDIO ", "streamNumber", kAudio, &Session::AudioAttr, &TitleSites::audio, BoxGroup::Audio,
     kMarkedNumbers},
    {"<SUBTITLE ", "streamNumber", kSubtitle, &Session::SubAttr, &TitleSites::subtitle,
     BoxGroup::Sub, kMarkedNumbers},
}};

bool has(const std::string& upperLine, const char* text) {
  return upperLine.find(text) != std::string::npos;
}

// Marks a number as labelled; false when it already was. Numbers 1..16 use their own
// group's slots; any other number is remembered beside the table, touching no slot.
bool markTrack(Session& s, const TrackKind& kind, StreamSites& sites, std::int32_t number) {
  if (number < 1 || number > kMarkedNumbers) return sites.unslotted.insert(number).second;
  std::int32_t& mark = s.StreamTable[slotGroup(kind.group).firstSlot - 1 + number];
  if (mark != -1) return false;
  mark = 1;
  return true;
}

// The playlist counts streams from 1, the EVO file and the boxes from 0; audio and
// subtitle numbers show two digits.
std::string streamNumberText(const TrackKind& kind, std::int32_t number) {
  return numberText(slotGroup(kind.group), std::int64_t{number} - 1);
}

std::string trackLabel(const Session& s, const TrackKind& kind, StreamSites& sites,
                       const std::string& line, std::int32_t number) {
  const auto media = StrToInt(AttrValue(line, "mediaAttr", sites.mediaAttr));
  std::string label = attrEntry(s.*kind.attrs, media) + ".stream." + streamNumberText(kind, number);
  if (kind.group != BoxGroup::Video)
    label += "." + AttrValue(line, "description", sites.description);
  return label.substr(0, kMaxLabel);
}

// The box of a track: video track 1 only, audio and subtitle streams 1..16.
CheckBox* trackBox(Window& w, const TrackKind& kind, std::int32_t number) {
  if (number < 1 || number > kind.boxed) return nullptr;
  return &slotGroup(kind.group).boxes(w)[static_cast<std::size_t>(number - 1)];
}

void labelBox(Session& s, const TrackKind& kind, std::int32_t number, const std::string& label) {
  CheckBox* box = trackBox(s.fMain, kind, number);
  if (!box) return;
  box->caption = label;
  if (kind.group != BoxGroup::Video) box->hint = label;
  box->enabled = true;
  setTicked(s, *box, true);
}

void labelTrack(Session& s, TitleSites& title, const TrackKind& kind, const std::string& line) {
  StreamSites& sites = title.*kind.sites;
  const auto number = StrToInt(AttrValue(line, kind.numberName, sites.number));
  if (!markTrack(s, kind, sites, number)) return;
  const std::string label = trackLabel(s, kind, sites, line, number);
  if (!addTreeEntry(s, kind.node, label)) return;
  log(s, label + " found!");
  labelBox(s, kind, number, label);
}

// The five tests on one line of the title; a line may feed several of them.
void readTitleLine(Session& s, TitleSites& title, const std::string& line) {
  const std::string upper = upperAscii(line);
  if (has(upper, "<TITLE ")) {
    addTreeEntry(s, kInfo, "Name: " + AttrValue(line, "displayName", title.titleName));
    addTreeEntry(s, kInfo, "Duration: " + AttrValue(line, "titleDuration", title.titleDuration));
  }
  for (const auto& kind : kTrackKinds) {
    if (has(upper, kind.element)) labelTrack(s, title, kind, line);
  }
  if (has(upper, "<CHAPTER ")) {
    const std::string begin = AttrValue(line, "titleTimeBegin", title.chapterBegin);
    addTreeEntry(s, kChapter, begin + ": " + AttrValue(line, "displayName", title.chapterName));
  }
}

}  // namespace

bool addTreeEntry(Session& s, std::size_t node, std::string text) {
  auto& nodes = s.fMain.tvXPL.nodes;
  std::size_t entries = 0;
  for (const auto& top : nodes) entries += top.children.size();
  if (entries < kTreeEntries) {
    nodes.at(node).children.push_back({std::move(text), {}});
    return true;
  }
  if (entries == kTreeEntries) nodes[node].children.push_back({"(further entries left out)", {}});
  return false;
}

void titlePhase(Session& s, XplRun& run) {
  s.StreamTable.reset(1, kLastMarkSlot);
  auto& w = s.fMain;
  if (!cutToTitle(w.mXPL.lines, s.BaseName)) return;
  w.tvXPL.nodes = {{"Info", {}}, {"Video", {}}, {"Audio", {}}, {"Subtitle", {}}, {"Chapter", {}}};
  if (!run.PlaylistName.empty()) addTreeEntry(s, kInfo, "Title: " + run.PlaylistName);
  for (const auto& line : w.mXPL.lines) readTitleLine(s, run.title, line);
}

}  // namespace tessaly
