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
#include "session/cancel.h"
#include "session/file_choice.h"
#include "session/invoke.h"

namespace tessaly::app {

TfMain::TfMain(Session& session) : session_(session), anchors_(kClientSize) {
  setObjectName("fMain");
  setWindowTitle("Tessaly 0.52 (based on Halvard's demux 0.5)");
  setFont(windowFont());
  resize(kClientSize);
  setMinimumSize(kClientSize);
  buildFileRows(*this, anchors_);
  buildPages(*this, session.fMain, anchors_);
  buildBottomRow(*this, anchors_);
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

bool TfMain::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  // Only the first activation is the start-up one: the window becomes active again
  // whenever the focus comes back from another program or from one of our boxes and
  // dialogs, and that must not undo what the operator did meanwhile.
  if (event->type() != QEvent::WindowActivate || std::exchange(started_, true)) return handled;
  FormActivate(session_, *this);
  takePendingOpen();
  return handled;
}

void TfMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow(*this);
}

void TfMain::closeEvent(QCloseEvent* event) {
  // A job still running would go on unseen, holding its files: closing asks what Cancel
  // asks. A scan or a playlist read stops at once; a demux only after Yes, and after No
  // the window stays open with the demux running.
  if (session_.busy && !session_.StopRequested) {
    bCancelClick(session_);
    if (!session_.StopRequested) return event->ignore();
  }
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
  invoke(session_, [&] { WMDropFiles(session_, paths); });  // an image may be refused
  mirror();
  if (!paths.empty()) event->acceptProposedAction();
}

void TfMain::takePendingOpen() {
  if (pendingOpen_.empty()) return;
  invoke(session_, [this] { WMDropFiles(session_, {pendingOpen_}); });
  pendingOpen_.clear();
  mirror();
}

}  // namespace tessaly::app
