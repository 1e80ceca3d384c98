#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
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
constexpr int kExtensionWidth = 49;
constexpr int kMargin = 8;       // around the page's controls
constexpr int kGroupMargin = 6;  // inside the group
constexpr int kSpacing = 2;      // between the lines of the page
constexpr int kGap = 6;          // between controls side by side, and around the folder's line
// The added boxes' captions are broken into lines this wide: what the page leaves them at
// the standard size, with room to spare for a vertical scroll bar.
constexpr int kCaptionWidth = 306;

QLineEdit* makeExtensionEdit(QWidget* parent, const char* name) {
  auto* edit = makeControl<QLineEdit>(parent, name);
  edit->setMaxLength(kExtensionLength);
  // The limit is on typing: a longer stored text is shown whole (the binding raises the
  // limit for it), and the operator can shorten it but not lengthen it.
  QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
    edit->setMaxLength(std::max(kExtensionLength, static_cast<int>(text.size())));
  });
  edit->setFixedWidth(kExtensionWidth);
  return edit;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* text) {
  auto* label = makeControl<QLabel>(parent, name);
  label->setText(text);
  return label;
}

QCheckBox* makeOption(QWidget* parent, const char* name, const CheckBox& record) {
  auto* box = makeControl<QCheckBox>(parent, name, QString::fromStdString(record.hint));
  box->setText(QString::fromStdString(record.caption));
  box->setChecked(record.ticked);
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

QBoxLayout* tight(QBoxLayout* layout, int margin) {
  layout->setContentsMargins(margin, margin / 2, margin, margin / 2);
  layout->setSpacing(kSpacing);
  return layout;
}

// A row of controls at their own widths, the row's room left over on the right.
QHBoxLayout* row(std::initializer_list<QWidget*> controls, int spacing) {
  auto* line = new QHBoxLayout;
  line->setSpacing(spacing);
  for (QWidget* control : controls) line->addWidget(control);
  line->addStretch();
  return line;
}

// The file options' group: the three extensions in a row under their label, the output
// folder beside its label, then the two options of the first design side by side.
void buildFileGroup(TfMain& w, const Window& r) {
  QWidget* group = w.gbFile;
  w.lVideoExt = makeLabel(group, "lVideoExt", "Extensions (video, audio, subtitle)");
  w.eVideoExt = makeExtensionEdit(group, "eVideoExt");
  w.eAudioExt = makeExtensionEdit(group, "eAudioExt");
  w.eSubExt = makeExtensionEdit(group, "eSubExt");
  w.lWorkdir = makeLabel(group, "lWorkdir", "Output folder");
  w.eWorkdir = makeControl<QLineEdit>(group, "eWorkdir");
  auto* folder = new QHBoxLayout;
  folder->setSpacing(kGap);
  folder->addWidget(w.lWorkdir);
  folder->addWidget(w.eWorkdir, 1);
  w.cbContinue = makeOption(group, "cbContinue", r.cbContinue);
  w.cbFastCheck = makeOption(group, "cbFastCheck", r.cbFastCheck);
  auto* lines = tight(new QVBoxLayout(group), kGroupMargin);
  lines->addWidget(w.lVideoExt);
  lines->addLayout(row({w.eVideoExt, w.eAudioExt, w.eSubExt}, kGap));
  lines->addSpacing(kGap);
  lines->addLayout(folder);
  lines->addSpacing(kGap);
  lines->addLayout(row({w.cbContinue, w.cbFastCheck}, kGap));
}

// The page's controls lie on a sheet that scrolls only where the page is lower than the
// sheet needs (a font much larger than the designed one): at the standard size the page
// shows all of them.
QWidget* makeSheet(QWidget* page) {
  auto* scroll = makeControl<QScrollArea>(page, "scOption");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* sheet = new QWidget;
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
  buildFileGroup(w, r);
  // Added under the file options' group, their captions broken into lines that fit.
  w.cbMatroska = makeOption(sheet, "cbMatroska", r.cbMatroska);
  w.cbForTools = makeOption(sheet, "cbForTools", r.cbForTools);
  auto* lines = tight(new QVBoxLayout(sheet), kMargin);
  lines->addWidget(w.gbFile);
  for (QCheckBox* box : {w.cbMatroska, w.cbForTools}) {
    box->setText(wrappedCaption(*box, box->text(), kCaptionWidth));
    lines->addWidget(box);
  }
  lines->addStretch();
}

}  // namespace tessaly::app
