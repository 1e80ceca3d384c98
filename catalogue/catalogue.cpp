#include "catalogue/catalogue.h"

#include <stdexcept>
#include <string>

#include "catalogue/evo_input.h"
#include "catalogue/selection.h"
#include "engine/demux.h"
#include "shell/report.h"

namespace tessaly {
namespace {

bool within(std::int32_t value, std::int32_t first, std::int32_t last) {
  return value >= first && value <= last;
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

}  // namespace

std::string VideoName(std::int32_t value) {
  if (within(value, 0x55, 0x56)) return "VC-1.stream";
  if (within(value, 0xE0, 0xE1)) return "MPEG-2.stream";
  if (within(value, 0xE2, 0xE3)) return "H.264.stream";
  return "";
}

std::string AudioName(std::int32_t value) {
  if (within(value, 0x80, 0x87)) return "DD.stream";
  if (within(value, 0x88, 0x8F)) return "DTSHD.stream";
  if (within(value, 0xA0, 0xA7)) return "LPCM.stream";
  if (within(value, 0xB0, 0xB7)) return "MLP.stream";
  if (within(value, 0xC0, 0xCF)) return "DD+.stream";
  return "";
}

std::string SubName(std::int32_t value) {
  if (within(value, 0x20, 0x2F)) return "Subpicture";
  if (within(value, 0x60, 0x6F)) return "Ext.Subpicture";
  return "";
}

std::string StreamCaption(int slot, std::int32_t value) {
  if (slot < kAudioSlot) return VideoName(value) + "." + std::to_string(slot - kVideoSlot);
  const bool audio = slot < kSubSlot;
  const int number = slot - (audio ? kAudioSlot : kSubSlot);
  return (audio ? AudioName(value) : SubName(value)) + (number < 10 ? ".0" : ".") +
         std::to_string(number);
}

const CheckBox& slotBox(const Window& w, int slot) {
  const auto index = [slot](int first) { return static_cast<std::size_t>(slot - first); };
  if (slot >= kVideoSlot && slot < kVideoSlot + 2) return w.cbVideo[index(kVideoSlot)];
  if (slot >= kAudioSlot && slot < kSubSlot) return w.cbAudio[index(kAudioSlot)];
  if (slot >= kSubSlot && slot < kSubSlot + static_cast<int>(kSubBoxes)) {
    return w.cbSub[index(kSubSlot)];
  }
  throw std::out_of_range("slot " + std::to_string(slot) + " has no stream box");
}

CheckBox& slotBox(Window& w, int slot) {
  return const_cast<CheckBox&>(slotBox(static_cast<const Window&>(w), slot));
}

void bCheckClick(Session& s) {
  if (s.busy) return;  // one job at a time: InputStream and the table are in use
  JobGuard guard(s);
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

}  // namespace tessaly
