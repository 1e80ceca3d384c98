#include "catalogue/catalogue.h"

#include <string>

#include "catalogue/evo_input.h"
#include "catalogue/selection.h"
#include "engine/demux.h"
#include "shell/report.h"

namespace tessaly {
namespace {

using NameLookup = std::string (*)(std::int32_t);

bool within(std::int32_t value, std::int32_t first, std::int32_t last) {
  return value >= first && value <= last;
}

// ".00" .. ".15": audio and subpicture boxes always carry two digits.
std::string twoDigitSuffix(int number) {
  return (number < 10 ? ".0" : ".") + std::to_string(number);
}

// One catalogue row: the box shows whether its slot holds a stream, and a found
// stream's caption is its name followed by the row's suffix.
void showSlot(Session& s, CheckBox& box, std::int32_t value, NameLookup name,
              const std::string& suffix) {
  const bool found = value > -1;
  box.enabled = found;
  setTicked(s, box, found);
  if (box.ticked) box.caption = name(value) + suffix;
}

// The 34 rows in their order: video 0 and 1, audio 00..15, subpicture 00..15.
void showCatalogue(Session& s) {
  auto& w = s.fMain;
  for (int n = 0; n < 2; ++n) {
    showSlot(s, w.cbVideo[static_cast<unsigned>(n)], s.StreamTable[kVideoSlot + n], VideoName,
             "." + std::to_string(n));
  }
  for (int n = 0; n < static_cast<int>(kAudioBoxes); ++n) {
    showSlot(s, w.cbAudio[static_cast<unsigned>(n)], s.StreamTable[kAudioSlot + n], AudioName,
             twoDigitSuffix(n));
  }
  for (int n = 0; n < static_cast<int>(kSubBoxes); ++n) {
    showSlot(s, w.cbSub[static_cast<unsigned>(n)], s.StreamTable[kSubSlot + n], SubName,
             twoDigitSuffix(n));
  }
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

void bCheckClick(Session& s) {
  if (s.busy) return;  // one job at a time: InputStream and the table are in use
  JobGuard guard(s);
  auto& w = s.fMain;
  w.bCheck.enabled = false;
  Resetcbs(s);
  w.PageControl = tsStatus;
  scanEVO(s);
  showCatalogue(s);
  log(s, "Done.");
  slog(s, "Ready", 0);
  slog(s, "", 1);
  w.bCheck.enabled = true;
}

}  // namespace tessaly
