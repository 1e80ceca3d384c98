#include "session/selection.h"

#include <stdexcept>

#include "job/output_set.h"

namespace tessaly {
namespace {

template <typename Visit>
void forAllBoxes(Window& w, Visit visit) {
  for (const SlotGroup& group : kSlotGroups) {
    for (CheckBox& box : groupBoxes(w, group.group)) visit(group, box);
  }
}

}  // namespace

CheckBox* findBox(Window& w, const std::string& name) {
  const auto box = boxOfName(name);
  if (!box) return nullptr;
  return &groupBoxes(w, box->group)[static_cast<std::size_t>(box->number)];
}

void Resetcbs(Session& s) {
  forAllBoxes(s.fMain, [](const SlotGroup& group, CheckBox& box) {
    box = {false, box.ticked, group.resetCaption, box.hint};
  });
}

void cbVideoClick(Session& s) {
  bool anyTicked = false;
  forAllBoxes(s.fMain, [&](const SlotGroup&, const CheckBox& box) { anyTicked |= box.ticked; });
  s.fMain.bDemux.enabled = anyTicked;
}

void setTicked(Session& s, CheckBox& box, bool ticked) {
  if (box.ticked == ticked) return;
  box.ticked = ticked;
  cbVideoClick(s);
}

const CheckBox& slotBox(const Window& w, int slot) {
  return slotBox(const_cast<Window&>(w), slot);
}

CheckBox& slotBox(Window& w, int slot) {
  if (!OutputSet::hasEntry(slot)) {
    throw std::out_of_range("slot " + std::to_string(slot) + " has no stream box");
  }
  const SlotGroup& group = *groupOfSlot(slot);
  return groupBoxes(w, group.group)[static_cast<std::size_t>(slot - group.firstSlot)];
}

}  // namespace tessaly
