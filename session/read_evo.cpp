#include "session/read_evo.h"

#include "catalogue/captions.h"
#include "catalogue/scan.h"
#include "job/output_set.h"
#include "session/invoke.h"
#include "session/selection.h"
#include "session/session_observer.h"

namespace tessaly {
namespace {

constexpr const char* kFastCheckStopped =
    "Fast EVO checking stopped at 300 MB; streams that begin later are not listed.";

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

// The run of "Read EVO".
void readEVO(Session& s) {
  auto& w = s.fMain;
  w.bCheck.enabled = false;
  Resetcbs(s);
  w.PageControl = tsStatus;
  SessionObserver observer(s);
  ScanResult result = scanEvo({w.eEVOfile.text, w.cbFastCheck.ticked}, observer);
  if (!result.found.file.empty()) {  // the file was opened: the pass ran
    s.StreamTable = result.table;
    s.Found = std::move(result.found);
  }
  if (result.end == JobEnd::FastCheckLimit) s.StopRequested = true;
  rethrowFailure(result.error);
  for (int slot : OutputSet::jobOrder()) showSlot(s, slot);  // the 34 rows, in order
  endJob(observer);
  if (result.end == JobEnd::FastCheckLimit) observer.log(kFastCheckStopped);
  w.bCheck.enabled = true;
}

}  // namespace

void bCheckClick(Session& s) {
  runJob(s, readEVO);
}

}  // namespace tessaly
