#include "app/form_events.h"

#include "app/main_window.h"
#include "app/pane_splitter.h"
#include "app/window_geometry.h"
#include "session/invoke.h"
#include "session/selection.h"
#include "session/settings.h"

namespace tessaly::app {
namespace {

// Settings first: a value of the wrong type ends the activation before the reset.
void loadSettingsThenReset(Session& s) {
  RegRead(s);
  Resetcbs(s);
}

}  // namespace

void FormShow(TfMain& window) {
  // Files dropped anywhere reach the window: no control takes a drop of its own.
  for (QWidget* control : window.findChildren<QWidget*>()) control->setAcceptDrops(false);
  window.setAcceptDrops(true);
}

void FormActivate(Session& s, TfMain& window) {
  // What the settings leave out keeps the window as it stands.
  captureWindowRecord(window, s.fMain.geometry);
  s.fMain.tvXPL.width = window.splXPL->firstPaneWidth();
  invoke(s, loadSettingsThenReset);
  applyWindowRecord(window, s.fMain.geometry);
  window.splXPL->setFirstPaneWidth(s.fMain.tvXPL.width);
  window.mirror();
}

void FormClose(Session& s, TfMain& window) {
  captureWindowRecord(window, s.fMain.geometry);
  s.fMain.tvXPL.width = window.splXPL->firstPaneWidth();
  invoke(s, RegWrite);
}

}  // namespace tessaly::app
