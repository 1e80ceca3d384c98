#include "app/binding.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <utility>

#include "app/drop.h"
#include "app/pane_splitter.h"
#include "app/stream_box.h"
#include "session/cancel.h"
#include "session/demux_click.h"
#include "session/demux_title_click.h"
#include "session/file_choice.h"
#include "session/read_evo.h"
#include "session/read_xpl_click.h"
#include "session/selection.h"
#include "session/xpl_choice.h"

namespace tessaly::app {

Binding::Binding(Session& session, TfMain& window) : s_(session), w_(window) {
  connectButtons();
  connectBoxes();
  connectOptions();
  connectPaste();
  connectTitles();
}

void Binding::run(Handler handler) {
  invoke(s_, handler);
  mirror();
}

void Binding::connectButtons() {
  const std::pair<QAbstractButton*, Handler> clicks[] = {
      {w_.bCheck, bCheckClick},           {w_.bDemux, bDemuxClick}, {w_.bReadXPL, bReadXPLClick},
      {w_.bCancel, bCancelClick},         {w_.bbEVO, bbEVOClick},   {w_.bbXPL, bbXPLClick},
      {w_.bDemuxTitle, bDemuxTitleClick},
  };
  for (const auto& [button, handler] : clicks) {
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [this, click = handler] { run(click); });
  }
}

// A click on a box changes its tick as the core does (setTicked runs cbVideoClick).
void Binding::connectBoxes() {
  forEachBox([this](StreamBox* box, CheckBox& record) {
    QObject::connect(box, &QCheckBox::toggled, box, [this, &record](bool checked) {
      if (mirroring_) return;
      setTicked(s_, record, checked);
      mirror();
    });
  });
}

void Binding::connectOptions() {
  auto& r = s_.fMain;
  const std::pair<QLineEdit*, Edit*> edits[] = {
      {w_.eVideoExt, &r.eVideoExt},
      {w_.eAudioExt, &r.eAudioExt},
      {w_.eSubExt, &r.eSubExt},
      {w_.eWorkdir, &r.eWorkdir},
  };
  for (const auto& [edit, record] : edits) {
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this, text = record](const QString& t) {
      if (!mirroring_) text->text = t.toStdString();
    });
  }
  for (const auto& [box, record] :
       {std::pair{w_.cbContinue, &r.cbContinue}, std::pair{w_.cbFastCheck, &r.cbFastCheck},
        std::pair{w_.cbMatroska, &r.cbMatroska}, std::pair{w_.cbForTools, &r.cbForTools}}) {
    QObject::connect(box, &QCheckBox::toggled, box, [this, option = record](bool checked) {
      if (!mirroring_) option->ticked = checked;
    });
  }
  QObject::connect(w_.PageControl, &QTabWidget::currentChanged, w_.PageControl, [this](int page) {
    if (!mirroring_) s_.fMain.PageControl = page;
  });
  QObject::connect(w_.splXPL, &QSplitter::splitterMoved, w_.splXPL,
                   [this] { s_.fMain.tvXPL.width = w_.splXPL->firstPaneWidth(); });
}

// Ctrl+V anywhere on the window that takes no text, and Paste in a path field's menu, take
// the clipboard's path as a drop of that file. The path fields take no typing; the Options
// page's fields paste into themselves.
void Binding::connectPaste() {
  auto* paste = new QShortcut(QKeySequence::Paste, &w_);
  QObject::connect(paste, &QShortcut::activated, &w_, [this] { pastePath(); });
  for (QLineEdit* edit : {w_.eEVOfile, w_.eXPLfile}) {
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(edit, &QWidget::customContextMenuRequested, edit,
                     [this, edit](const QPoint& at) { showPathMenu(edit, at); });
  }
}

void Binding::pastePath() {
  const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
  const PastedPath pasted = clipboard ? pastedPath(*clipboard) : PastedPath{};
  invoke(s_, [&] { WMPastePath(s_, pasted.path, pasted.text); });
  mirror();
}

void Binding::showPathMenu(QLineEdit* edit, const QPoint& at) {
  const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
  auto* paste = new QAction(QLineEdit::tr("&Paste"), menu.get());
  paste->setObjectName("edit-paste");
  paste->setShortcut(QKeySequence::Paste);
  paste->setEnabled(!s_.busy);
  QObject::connect(paste, &QAction::triggered, edit, [this] { pastePath(); });
  const QList<QAction*> actions = menu->actions();
  const qsizetype copy = actions.indexOf(menu->findChild<QAction*>("edit-copy"));
  menu->insertAction(actions.value(copy + 1), paste);  // after Copy; at the end when last
  menu->exec(edit->mapToGlobal(at));
}

// The row the operator selects is the title "Demux title" demuxes.
void Binding::connectTitles() {
  QObject::connect(w_.lvTitles, &QTreeWidget::itemSelectionChanged, w_.lvTitles, [this] {
    if (mirroring_) return;
    const QList<QTreeWidgetItem*> chosen = w_.lvTitles->selectedItems();
    s_.fMain.lvTitles.selected =
        chosen.isEmpty() ? -1 : w_.lvTitles->indexOfTopLevelItem(chosen.front());
    mirror();
  });
}

}  // namespace tessaly::app
