#include "catalogue/catalogue.h"

#include <stdexcept>
#include <string>

#include "catalogue/demux.h"
#include "catalogue/evo_input.h"
#include "catalogue/selection.h"
#include "engine/codecs.h"
#include "shell/invoke.h"
#include "shell/report.h"

namespace tessaly {
namespace {

std::string codecName(StreamGroup group, std::int32_t value) {
  const Codec* codec = codecOf(group, value);
  return codec ? codec->caption : "";
}

// One catalogue row: the box shows whether its slot holds a stream; a found stream is
// ticked (a click, as far as "Demux" is concerned) and captioned.
void showSlot(Session& s, int slot) {
  CheckBox& box = slotBox(s.fMain, slot);
  const std::int32_t value = s.StreamTable[slot];
  const bool found = value > -1;
  box.enabled = found;
  setTicked(s, box, found);
  if (box.ticked) box.caption = StreamCaption(slot, value);
}

// Opens the EVO file shared, logs its size and lets the engine scan it; the file is
// released whether the scan ends normally or by an error.
void scanEVO(Session& s) {
  InputRelease release(s);
  openEVO(s, Access::Shared);
  slog(s, "Reading", 0);
  logFileSize(s);
  demux(s, 0);
}

// The run of "Read EVO".
void readEVO(Session& s) {
  auto& w = s.fMain;
  w.bCheck.enabled = false;
  Resetcbs(s);
  w.PageControl = tsStatus;
  scanEVO(s);
  for (int slot : OutputSet::jobOrder()) showSlot(s, slot);  // the 34 rows, in order
  log(s, "Done.");
  slog(s, "Ready", 0);
  slog(s, "", 1);
  w.bCheck.enabled = true;
}

}  // namespace

std::string VideoName(std::int32_t value) {
  return codecName(StreamGroup::Video, value);
}

std::string AudioName(std::int32_t value) {
  return codecName(StreamGroup::Audio, value);
}

std::string SubName(std::int32_t value) {
  return codecName(StreamGroup::Sub, value);
}

std::string StreamCaption(int slot, std::int32_t value) {
  const SlotGroup& group = *groupOfSlot(slot);
  return codecName(group.group, value) + "." + numberText(group, slot - group.firstSlot);
}

const CheckBox& slotBox(const Window& w, int slot) {
  return slotBox(const_cast<Window&>(w), slot);
}

CheckBox& slotBox(Window& w, int slot) {
  if (!OutputSet::hasEntry(slot)) {
    throw std::out_of_range("slot " + std::to_string(slot) + " has no stream box");
  }
  const SlotGroup& group = *groupOfSlot(slot);
  return group.boxes(w)[static_cast<std::size_t>(slot - group.firstSlot)];
}

void bCheckClick(Session& s) {
  runJob(s, readEVO);
}

}  // namespace tessaly
