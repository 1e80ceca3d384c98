#include "app/binding.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <utility>

#include "app/pane_splitter.h"
#include "catalogue/catalogue.h"
#include "catalogue/selection.h"
#include "job/demux_job.h"
#include "playlist/read_xpl.h"
#include "shell/cancel.h"
#include "shell/file_choice.h"
#include "shell/xpl_choice.h"

namespace tessaly::app {

Binding::Binding(Session& session, TfMain& window) : s_(session), w_(window) {
  connectButtons();
  connectBoxes();
  connectOptions();
}

void Binding::run(Handler handler) {
  invoke(s_, handler);
  mirror();
}

void Binding::connectButtons() {
  const std::pair<QAbstractButton*, Handler> clicks[] = {
      {w_.bCheck, bCheckClick},   {w_.bDemux, bDemuxClick}, {w_.bReadXPL, bReadXPLClick},
      {w_.bCancel, bCancelClick}, {w_.bbEVO, bbEVOClick},   {w_.bbXPL, bbXPLClick},
  };
  for (const auto& [button, handler] : clicks) {
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [this, click = handler] { run(click); });
  }
}

// A click on a box changes its tick as the core does (setTicked runs cbVideoClick).
void Binding::connectBoxes() {
  forEachBox([this](QCheckBox* box, CheckBox& record) {
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

}  // namespace tessaly::app
