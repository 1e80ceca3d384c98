#include "catalogue/selection.h"

#include <cstdio>

namespace tessaly {
namespace {

template <typename Boxes, typename Visit>
void forEachBox(Boxes& boxes, Visit visit) {
  for (auto& box : boxes) visit(box);
}

template <typename Visit>
void forAllBoxes(Window& w, Visit visit) {
  forEachBox(w.cbVideo, visit);
  forEachBox(w.cbAudio, visit);
  forEachBox(w.cbSub, visit);
}

}  // namespace

std::string boxName(BoxGroup group, int number) {
  char name[16];
  switch (group) {
    case BoxGroup::Video:
      std::snprintf(name, sizeof name, "cbVideo%d", number);
      break;
    case BoxGroup::Audio:
      std::snprintf(name, sizeof name, "cbAudio%02d", number);
      break;
    case BoxGroup::Sub:
      std::snprintf(name, sizeof name, "cbSub%02d", number);
      break;
  }
  return name;
}

CheckBox* findBox(Window& w, const std::string& name) {
  for (int n = 0; n < static_cast<int>(kVideoBoxes); ++n) {
    if (name == boxName(BoxGroup::Video, n)) return &w.cbVideo[static_cast<unsigned>(n)];
  }
  for (int n = 0; n < static_cast<int>(kAudioBoxes); ++n) {
    if (name == boxName(BoxGroup::Audio, n)) return &w.cbAudio[static_cast<unsigned>(n)];
    if (name == boxName(BoxGroup::Sub, n)) return &w.cbSub[static_cast<unsigned>(n)];
  }
  return nullptr;
}

void Resetcbs(Session& s) {
  auto& w = s.fMain;
  for (auto& box : w.cbVideo) box = {false, box.ticked, "No video stream", box.hint};
  for (auto& box : w.cbAudio) box = {false, box.ticked, "No audio stream", box.hint};
  for (auto& box : w.cbSub) box = {false, box.ticked, "No subpicture", box.hint};
}

void cbVideoClick(Session& s) {
  bool anyTicked = false;
  forAllBoxes(s.fMain, [&](const CheckBox& box) { anyTicked = anyTicked || box.ticked; });
  s.fMain.bDemux.enabled = anyTicked;
}

void setTicked(Session& s, CheckBox& box, bool ticked) {
  if (box.ticked == ticked) return;
  box.ticked = ticked;
  cbVideoClick(s);
}

}  // namespace tessaly
