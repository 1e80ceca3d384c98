#include "app/form_events.h"

#include "app/main_window.h"
#include "app/pane_splitter.h"
#include "catalogue/selection.h"
#include "shell/invoke.h"
#include "shell/settings.h"

namespace tessaly::app {
namespace {

enum StoredState { kNormal = 0, kMinimised = 1, kMaximised = 2 };

// Settings first: a value of the wrong type ends the activation before the reset.
void loadSettingsThenReset(Session& s) {
  RegRead(s);
  Resetcbs(s);
}

// The frame's extra size around the client area (none before the window is shown).
QSize frameExtra(const QWidget& window) {
  return window.frameGeometry().size() - window.geometry().size();
}

}  // namespace

void FormShow(TfMain& window) {
  // Files dropped anywhere reach the window: no control takes a drop of its own.
  for (QWidget* control : window.findChildren<QWidget*>()) control->setAcceptDrops(false);
  window.setAcceptDrops(true);
}

void FormActivate(Session& s, TfMain& window) {
  if (s.busy) return;
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

void applyWindowRecord(QWidget& window, const Geometry& g) {
  const Qt::WindowStates others = window.windowState() & ~Qt::WindowMaximized;
  if (window.isMaximized() && g.windowState != kMaximised) window.setWindowState(others);
  if (!window.isMaximized()) {
    const QSize extra = frameExtra(window);
    window.move(g.left, g.top);
    window.resize(g.width - extra.width(), g.height - extra.height());
  }
  // A stored minimised state is not applied: the activation that applies it means the
  // operator has just brought the window up, and minimising it would keep it out of
  // reach at every later activation.
  if (g.windowState == kMaximised) window.setWindowState(others | Qt::WindowMaximized);
}

void captureWindowRecord(const QWidget& window, Geometry& g) {
  g.windowState = window.isMaximized() ? kMaximised : window.isMinimized() ? kMinimised : kNormal;
  if (g.windowState == kMaximised) return;
  const QRect outer = window.frameGeometry();
  g = {outer.top(), outer.left(), outer.width(), outer.height(), g.windowState};
}

}  // namespace tessaly::app
