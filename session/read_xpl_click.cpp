#include "session/read_xpl_click.h"

#include "session/invoke.h"
#include "session/selection.h"
#include "session/session_observer.h"
#include "session/title_list.h"

namespace tessaly {
namespace {

void labelBox(Session& s, const BoxLabel& label) {
  CheckBox& box = groupBoxes(s.fMain, label.group)[static_cast<std::size_t>(label.number)];
  box.caption = label.label;
  if (label.group != StreamGroup::Video) box.hint = label.label;
  box.enabled = true;
  setTicked(s, box, true);
}

XplRequest xplRequest(const Session& s) {
  return {s.fMain.eXPLfile.text,
          s.BaseName,
          {s.VideoAttr, s.AudioAttr, s.SubAttr},
          s.fMain.tvXPL.nodes,
          s.StreamTable};
}

// The run of "Read XPL".
void readXPL(Session& s) {
  auto& w = s.fMain;
  Resetcbs(s);
  w.bReadXPL.enabled = false;
  w.PageControl = tsXPL;
  SessionObserver observer(s);
  XplResult result = readXpl(xplRequest(s), observer);
  if (result.opened) {
    w.mXPL.visible = false;  // shown again only after a run that ends normally
    showXpl(s, result);
  }
  rethrowFailure(result.error);
  w.mXPL.visible = true;
  endJob(observer);
  w.bReadXPL.enabled = true;
  listTitlesAround(s, w.eXPLfile.text);
}

}  // namespace

void showXpl(Session& s, XplResult& result) {
  auto& w = s.fMain;
  w.mXPL.lines = std::move(result.memo);
  w.tvXPL.nodes = std::move(result.tree);
  s.VideoAttr = result.attributes.video;
  s.AudioAttr = result.attributes.audio;
  s.SubAttr = result.attributes.sub;
  s.StreamTable = result.table;
  s.Playlist = std::move(result.facts);
  for (const BoxLabel& label : result.labels) labelBox(s, label);
}

void bReadXPLClick(Session& s) {
  runJob(s, readXPL);
}

}  // namespace tessaly
