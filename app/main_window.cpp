#include "app/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <utility>

#include "app/binding.h"
#include "app/drop.h"
#include "app/form_events.h"
#include "app/pane_splitter.h"
#include "app/status_panels.h"
#include "app/window_layout.h"
#include "shell/file_choice.h"

namespace tessaly::app {

TfMain::TfMain(Session& session) : session_(session), anchors_(kClientSize) {
  setObjectName("fMain");
  setWindowTitle("Tessaly 0.52 (based on Halvard's demux 0.5)");
  setFont(windowFont());
  resize(kClientSize);
  setMinimumSize(kClientSize);
  buildFrame(*this, anchors_);
  buildPages(*this, session.fMain, anchors_);
  splXPL->setFirstPaneWidth(session.fMain.tvXPL.width);
  binding_ = std::make_unique<Binding>(session, *this);
  mirror();
}

TfMain::~TfMain() = default;

void TfMain::mirror() {
  binding_->mirror();
}

void TfMain::mirrorLog() {
  binding_->mirrorLog();
}

void TfMain::logAppended() {
  binding_->logAppended();
}

void TfMain::showStatus(int panel) {
  StatusBar->showPanel(session_.fMain.statusBar, panel);
}

void TfMain::modalClosed() {
  --openBoxes_;
  // A platform that activates the window again after the box is gone does it later.
  if (openBoxes_ == 0 && !isActiveWindow()) activationFromBox_ = true;
}

bool TfMain::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if (event->type() != QEvent::WindowActivate) return handled;
  if (openBoxes_ > 0 || std::exchange(activationFromBox_, false)) return handled;
  FormActivate(session_, *this);
  takePendingOpen();
  return handled;
}

void TfMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow(*this);
}

void TfMain::closeEvent(QCloseEvent* event) {
  // A job still running would go on unseen, holding its files: it stops at its next
  // check and closes them, as after Cancel.
  if (session_.busy) session_.StopRequested = true;
  FormClose(session_, *this);
  event->accept();
}

void TfMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  anchors_.fit(size());
}

void TfMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!session_.busy && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfMain::dropEvent(QDropEvent* event) {
  const std::vector<std::string> paths = droppedPaths(*event->mimeData());
  WMDropFiles(session_, paths);
  mirror();
  if (!paths.empty()) event->acceptProposedAction();
}

void TfMain::takePendingOpen() {
  if (pendingOpen_.empty()) return;
  WMDropFiles(session_, {pendingOpen_});
  pendingOpen_.clear();
  mirror();
}

}  // namespace tessaly::app
