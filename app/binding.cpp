#include "app/binding.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <utility>

#include "app/local_path.h"
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
  connectPathEdits();
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

// A path typed or pasted into a path field is taken as a dropped file is, when Enter or
// leaving the field confirms it: by its extension, into the field it belongs to. One that
// is not taken (another extension) gives way to the path chosen before.
void Binding::connectPathEdits() {
  for (QLineEdit* edit : {w_.eEVOfile, w_.eXPLfile}) {
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [this, edit] {
      if (!edit->isModified()) return;  // only passed through: the choice stands as it is
      edit->setModified(false);
      const std::vector<std::string> typed{typedPath(edit->text())};
      invoke(s_, [&] { WMDropFiles(s_, typed); });
      mirror();
    });
  }
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
