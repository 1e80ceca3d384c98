// Binding's records-to-controls half.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStringList>
#include <QTabWidget>
#include <QTextCursor>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

#include "app/binding.h"
#include "app/memo_text.h"
#include "app/status_panels.h"
#include "app/stream_box.h"
#include "report/stream_tip.h"
#include "session/session_report.h"

namespace tessaly::app {
namespace {

QString qt(const std::string& text) {
  return QString::fromStdString(text);
}

void showText(QLineEdit* edit, const Edit& record) {
  const QString text = qt(record.text);
  // A control's length limit is for typing: text from the records is shown whole, as it
  // is used and saved.
  if (edit->maxLength() < text.size()) edit->setMaxLength(static_cast<int>(text.size()));
  if (edit->text() != text) edit->setText(text);
}

// The tooltip: what "Read EVO" or "Demux" found of the box's stream, or the hint for a box
// without one.
void showBox(StreamBox* box, const CheckBox& record, const std::string& streamTip) {
  box->showCaption(qt(record.caption), qt(streamTip), qt(record.hint));
  box->setChecked(record.ticked);
}

bool sameNodes(const std::vector<TreeNode>& a, const std::vector<TreeNode>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const TreeNode& x, const TreeNode& y) {
                      return x.text == y.text && sameNodes(x.children, y.children);
                    });
}

// Items built apart and added in one step each: the tree lays itself out once per list,
// not once per item.
QList<QTreeWidgetItem*> makeItems(const std::vector<TreeNode>& nodes) {
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(nodes.size()));
  for (const TreeNode& node : nodes) {
    auto* item = new QTreeWidgetItem(QStringList{qt(node.text)});
    item->addChildren(makeItems(node.children));
    items.append(item);
  }
  return items;
}

QTreeWidgetItem* titleItem(const TitleRow& row) {
  auto* item = new QTreeWidgetItem(QStringList{qt(row.playlist), qt(row.number), qt(row.name),
                                               qt(row.duration), qt(row.clips), qt(row.kind)});
  item->setTextAlignment(1, Qt::AlignRight);
  for (int column = 0; column < item->columnCount(); ++column) {
    item->setToolTip(column, qt(row.hint));
  }
  return item;
}

void showTitles(QTreeWidget* list, const std::vector<TitleRow>& rows) {
  list->clear();
  for (const TitleRow& row : rows) list->addTopLevelItem(titleItem(row));
  for (int column = 0; column < list->columnCount(); ++column) list->resizeColumnToContents(column);
}

void showTree(QTreeWidget* tree, const std::vector<TreeNode>& nodes) {
  tree->clear();
  tree->addTopLevelItems(makeItems(nodes));
  tree->expandAll();
}

}  // namespace

void Binding::mirror() {
  const QScopedValueRollback guard(mirroring_, true);
  mirrorButtons();
  mirrorBoxes();
  mirrorEdits();
  mirrorPlaylist();
  mirrorTitles();
  mirrorLog();
  w_.StatusBar->showChanges(s_.fMain.statusBar);
  if (w_.PageControl->currentIndex() != s_.fMain.PageControl) {
    w_.PageControl->setCurrentIndex(s_.fMain.PageControl);
  }
  returnFocus();
}

void Binding::enable(QWidget* control, bool enabled) {
  if (!enabled && control->hasFocus()) {
    heldFocus_ = control;
    w_.setFocus(Qt::OtherFocusReason);  // the window itself: no control is entered
  }
  control->setEnabled(enabled);
}

void Binding::returnFocus() {
  if (heldFocus_.isNull()) return;
  const QWidget* focus = w_.focusWidget();
  if (focus != nullptr && focus != &w_) {
    heldFocus_.clear();  // the operator has moved on
  } else if (heldFocus_->isEnabled()) {
    heldFocus_->setFocus(Qt::OtherFocusReason);
    heldFocus_.clear();
  }
}

void Binding::mirrorLog() {
  const auto& lines = s_.fMain.mMessage.lines;
  if (shownLogLines_ == lines.size()) return;
  // The log follows its end, also while its page is hidden, unless the operator has
  // scrolled back in it.
  QScrollBar* bar = w_.mMessage->verticalScrollBar();
  QScrollBar* across = w_.mMessage->horizontalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  const int row = bar->value();
  const int column = across->value();
  w_.mMessage->appendPlainText(memoText(lines, shownLogLines_));
  // The caret waits at the start of the last line, where a log page shown again brings
  // the view: a long line (a path) does not push the start of every line out of sight.
  if (!w_.mMessage->textCursor().hasSelection()) {  // the operator's selection stays
    QTextCursor caret(w_.mMessage->document());
    caret.movePosition(QTextCursor::End);
    caret.movePosition(QTextCursor::StartOfLine);
    w_.mMessage->setTextCursor(caret);
  }
  bar->setValue(atEnd ? bar->maximum() : row);
  across->setValue(column);
  shownLogLines_ = lines.size();
  w_.mMessage->viewport()->repaint();
  logPace_.painted();
}

void Binding::logAppended() {
  if (logPace_.due()) mirrorLog();
}

void Binding::mirrorButtons() {
  const auto& r = s_.fMain;
  const bool locked = s_.busy;  // one job at a time: the triggers wait for its end
  enable(w_.bCheck, r.bCheck.enabled && !locked);
  enable(w_.bReadXPL, r.bReadXPL.enabled && !locked);
  enable(w_.bDemux, r.bDemux.enabled && !locked);
  enable(w_.bDemuxTitle, r.lvTitles.selected >= 0 && !locked);
  enable(w_.bbEVO, !locked);
  enable(w_.bbXPL, !locked);
  enable(w_.bCancel, r.bCancel.enabled);
}

void Binding::mirrorBoxes() {
  const std::map<std::string, std::string> tips =
      streamTips(sessionReport(s_), s_.fMain.eEVOfile.text);
  forEachBox([&](StreamBox* box, const CheckBox& record) {
    const auto tip = tips.find(box->objectName().toStdString());
    showBox(box, record, tip == tips.end() ? std::string() : tip->second);
    enable(box, record.enabled && !s_.busy);
  });
  w_.cbContinue->setChecked(s_.fMain.cbContinue.ticked);
  w_.cbFastCheck->setChecked(s_.fMain.cbFastCheck.ticked);
  w_.cbMatroska->setChecked(s_.fMain.cbMatroska.ticked);
  w_.cbForTools->setChecked(s_.fMain.cbForTools.ticked);
}

void Binding::mirrorEdits() {
  const auto& r = s_.fMain;
  showText(w_.eEVOfile, r.eEVOfile);
  showText(w_.eXPLfile, r.eXPLfile);
  // A job holds the chosen files: a path is typed again after its end, as files are dropped.
  w_.eEVOfile->setReadOnly(s_.busy);
  w_.eXPLfile->setReadOnly(s_.busy);
  showText(w_.eVideoExt, r.eVideoExt);
  showText(w_.eAudioExt, r.eAudioExt);
  showText(w_.eSubExt, r.eSubExt);
  showText(w_.eWorkdir, r.eWorkdir);
}

void Binding::mirrorPlaylist() {
  const auto& r = s_.fMain;
  if (r.mXPL.lines != shownXpl_) {
    w_.mXPL->setPlainText(memoText(r.mXPL.lines));
    shownXpl_ = r.mXPL.lines;
  }
  w_.mXPL->setVisible(r.mXPL.visible);
  if (!sameNodes(r.tvXPL.nodes, shownTree_)) {
    showTree(w_.tvXPL, r.tvXPL.nodes);
    shownTree_ = r.tvXPL.nodes;
  }
}

void Binding::mirrorTitles() {
  const TitleList& r = s_.fMain.lvTitles;
  w_.lDisc->setText(qt(r.disc));
  if (r.rows != shownTitles_) {
    showTitles(w_.lvTitles, r.rows);
    shownTitles_ = r.rows;
  }
  QTreeWidgetItem* selected = w_.lvTitles->topLevelItem(r.selected);
  if (selected && !selected->isSelected()) {
    w_.lvTitles->setCurrentItem(selected);
  } else if (!selected) {
    w_.lvTitles->clearSelection();
  }
}

}  // namespace tessaly::app
