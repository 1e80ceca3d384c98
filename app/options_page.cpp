#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

#include "app/main_window.h"
#include "app/window_layout.h"

namespace tessaly::app {
namespace {

constexpr int kExtensionLength = 5;  // the extension edits take at most 5 characters
constexpr int kSheetWidth = 322;     // the group and its margin
constexpr int kAddedTop = 190;       // the first added box, under the group
constexpr int kControlWidth = 290;   // the labels, edits and boxes of the page
constexpr int kAddedGap = 5;

QLineEdit* makeExtensionEdit(QWidget* parent, const char* name, int left) {
  auto* edit = makeControl<QLineEdit>(parent, name);
  edit->setMaxLength(kExtensionLength);
  // The limit is on typing: a longer stored text is shown whole (the binding raises the
  // limit for it), and the operator can shorten it but not lengthen it.
  QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
    edit->setMaxLength(std::max(kExtensionLength, static_cast<int>(text.size())));
  });
  edit->setGeometry(left, 38, 49, 21);
  return edit;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* text, int top) {
  auto* label = makeControl<QLabel>(parent, name);
  label->setText(text);
  label->setGeometry(12, top, kControlWidth, 16);
  return label;
}

QCheckBox* makeOption(QWidget* parent, const char* name, const CheckBox& record, int top) {
  auto* box = makeControl<QCheckBox>(parent, name, QString::fromStdString(record.hint));
  box->setText(QString::fromStdString(record.caption));
  box->setChecked(record.ticked);
  box->setGeometry(12, top, kControlWidth, 17);
  return box;
}

// A caption broken between words into lines that fit `width` beside the box's indicator:
// the added boxes' long captions show whole in a window of the standard size.
QString wrappedCaption(const QCheckBox& box, const QString& caption, int width) {
  QStyleOptionButton option;
  option.initFrom(&box);
  const int room =
      width - box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box).left();
  const QFontMetrics metrics = box.fontMetrics();
  QString lines;
  QString line;
  for (const QString& word : caption.split(' ')) {
    const QString longer = line.isEmpty() ? word : line + ' ' + word;
    if (!line.isEmpty() && metrics.horizontalAdvance(longer) > room) {
      lines += line + '\n';
      line = word;
    } else {
      line = longer;
    }
  }
  return lines + line;
}

// Added boxes, one under the other from `top`, their captions wrapped; returns the bottom.
int placeAddedOptions(std::initializer_list<QCheckBox*> boxes, int top) {
  for (QCheckBox* box : boxes) {
    box->setText(wrappedCaption(*box, box->text(), kControlWidth));
    box->setGeometry(12, top, kControlWidth, box->sizeHint().height());
    top = box->geometry().bottom() + 1 + kAddedGap;
  }
  return top;
}

// The page's controls lie on a sheet that scrolls when the page is lower than the sheet:
// the added boxes sit under the file options' group, which keeps its place, and are reached
// by scrolling in a window of the standard size.
QWidget* makeSheet(QWidget* page) {
  auto* scroll = makeControl<QScrollArea>(page, "scOption");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* sheet = new QWidget;
  sheet->setMinimumWidth(kSheetWidth);
  scroll->setWidget(sheet);
  scroll->setWidgetResizable(true);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
  return sheet;
}

}  // namespace

void buildOptionsPage(TfMain& w, const Window& r) {
  QWidget* sheet = makeSheet(w.tsOption);
  w.gbFile = makeControl<QGroupBox>(sheet, "gbFile");
  w.gbFile->setGeometry(8, 4, 314, 180);
  QWidget* group = w.gbFile;
  w.lVideoExt = makeLabel(group, "lVideoExt", "Extensions (video, audio, subtitle)", 18);
  w.eVideoExt = makeExtensionEdit(group, "eVideoExt", 12);
  w.eAudioExt = makeExtensionEdit(group, "eAudioExt", 68);
  w.eSubExt = makeExtensionEdit(group, "eSubExt", 124);
  w.lWorkdir = makeLabel(group, "lWorkdir", "Output folder", 68);
  w.eWorkdir = makeControl<QLineEdit>(group, "eWorkdir");
  w.eWorkdir->setGeometry(12, 88, kControlWidth, 21);
  w.cbContinue = makeOption(group, "cbContinue", r.cbContinue, 122);
  w.cbFastCheck = makeOption(group, "cbFastCheck", r.cbFastCheck, 146);
  // Added under the file options' group, which keeps its place.
  w.cbMatroska = makeOption(sheet, "cbMatroska", r.cbMatroska, kAddedTop);
  w.cbForTools = makeOption(sheet, "cbForTools", r.cbForTools, kAddedTop);
  sheet->setMinimumHeight(placeAddedOptions({w.cbMatroska, w.cbForTools}, kAddedTop));
}

}  // namespace tessaly::app
