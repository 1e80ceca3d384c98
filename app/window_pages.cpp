#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/box_columns.h"
#include "app/main_window.h"
#include "app/pane_splitter.h"
#include "app/stream_box.h"
#include "app/window_layout.h"
#include "session/selection.h"

namespace tessaly::app {
namespace {

constexpr int kMinimumPane = 50;  // splXPL: neither side narrower than this

QWidget* addPage(QTabWidget* pages, const char* name, const char* caption, const char* hint = "") {
  auto* page = makeControl<QWidget>(pages, name, hint);
  const int index = pages->addTab(page, caption);
  pages->setTabToolTip(index, hint);
  return page;
}

// A widget that fills its page.
void fill(QWidget* page, QWidget* content) {
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(content);
}

// A read-only memo with both scroll bars and no line wrapping.
QPlainTextEdit* makeMemo(QWidget* parent, const char* name, const char* hint = "") {
  auto* memo = makeControl<QPlainTextEdit>(parent, name, hint);
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return memo;
}

// One page of stream boxes: the first eight in the left column, the rest on the right.
template <std::size_t N>
void buildBoxes(QWidget* page, BoxGroup group, const std::array<CheckBox, N>& records,
                std::array<StreamBox*, N>& boxes) {
  auto* columns = new BoxColumns(page);
  for (std::size_t n = 0; n < N; ++n) {
    const int number = static_cast<int>(n);
    const std::string name = boxName(group, number);
    auto* box = makeControl<StreamBox>(page, name.c_str());
    box->showCaption(QString::fromStdString(records[n].caption), {},
                     QString::fromStdString(records[n].hint));
    box->setEnabled(false);
    box->setGeometry(designedBoxPlace(number));  // until the page is first laid out
    columns->addWidget(box);
    boxes[n] = box;
  }
}

// The memo's face: Courier New (or its metric clone), else the platform's fixed font, else
// the first installed fixed-pitch family. Each is taken only when the face actually matched
// is fixed-pitch: fontconfig may answer "monospace" with a face it does not mark as such
// (Noto Sans Mono), and the playlist would then be laid out in proportional text.
QFont monospacedFont(const QFont& base) {
  QList<QFont> candidates{QFont("Courier New"),
                          QFontDatabase::systemFont(QFontDatabase::FixedFont)};
  for (const QString& family : QFontDatabase::families()) {
    if (QFontDatabase::isFixedPitch(family)) candidates.append(QFont(family));
  }
  for (QFont& font : candidates) {
    font.setPointSize(base.pointSize());
    if (QFontInfo(font).fixedPitch()) return font;
  }
  return candidates.front();
}

void buildXplPage(TfMain& w, QWidget* page) {
  w.splXPL = new PaneSplitter(page, kMinimumPane);
  w.splXPL->setObjectName("splXPL");
  w.tvXPL = makeControl<QTreeWidget>(w.splXPL, "tvXPL", "Infos from your XPL file");
  w.tvXPL->setHeaderHidden(true);
  w.tvXPL->setUniformRowHeights(true);  // one line of text each: a long title lays out fast
  w.tvXPL->setSelectionMode(QAbstractItemView::ExtendedSelection);
  w.mXPL = makeMemo(w.splXPL, "mXPL", "This is your XPL file (part of it)");
  w.mXPL->setFont(monospacedFont(w.font()));
  w.splXPL->addPane(w.tvXPL);
  w.splXPL->addPane(w.mXPL);
  // Both panes keep their share of the width when the window is resized.
  w.splXPL->setStretchFactor(0, 1);
  w.splXPL->setStretchFactor(1, 1);
  fill(page, w.splXPL);
}

// The disc's folder above its titles, one row each in columns, and "Demux title" below.
void buildTitlesPage(TfMain& w, QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);
  w.lDisc = makeControl<QLabel>(page, "lDisc");
  w.lDisc->setTextFormat(Qt::PlainText);
  w.lvTitles = makeControl<QTreeWidget>(page, "lvTitles");
  w.lvTitles->setRootIsDecorated(false);
  w.lvTitles->setUniformRowHeights(true);
  w.lvTitles->setSelectionMode(QAbstractItemView::SingleSelection);
  w.lvTitles->setHeaderLabels({"Playlist", "Title", "Name", "Duration", "Clips", ""});
  w.bDemuxTitle = makeControl<QPushButton>(page, "bDemuxTitle",
                                           "Demux the selected title into the output folder");
  w.bDemuxTitle->setText("Demux title");
  w.bDemuxTitle->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(w.bDemuxTitle);
  layout->addWidget(w.lDisc);
  layout->addWidget(w.lvTitles);
  layout->addLayout(buttons);
}

}  // namespace

void buildPages(TfMain& w, const Window& r, AnchorLayout& a) {
  w.PageControl = makeControl<QTabWidget>(&w, "PageControl");
  a.place(w.PageControl, {8, 69, 346, 219}, akAll);
  // The seven captions fit the designed width only with narrow tabs.
  w.PageControl->tabBar()->setStyleSheet("QTabBar::tab { padding: 3px 4px; }");
  w.tsStatus = addPage(w.PageControl, "tsStatus", "Status");
  w.mMessage = makeMemo(w.tsStatus, "mMessage");
  fill(w.tsStatus, w.mMessage);
  w.tsVideo = addPage(w.PageControl, "tsVideo", "Video", "Check the desired video stream");
  buildBoxes(w.tsVideo, BoxGroup::Video, r.cbVideo, w.cbVideo);
  w.tsAudio = addPage(w.PageControl, "tsAudio", "Audio", "Check the desired audio streams");
  buildBoxes(w.tsAudio, BoxGroup::Audio, r.cbAudio, w.cbAudio);
  w.tsSubpicture =
      addPage(w.PageControl, "tsSubpicture", "Subpicture", "Check the desired subpicture streams");
  buildBoxes(w.tsSubpicture, BoxGroup::Sub, r.cbSub, w.cbSub);
  w.tsXPL = addPage(w.PageControl, "tsXPL", "XPL");
  buildXplPage(w, w.tsXPL);
  w.tsTitles = addPage(w.PageControl, "tsTitles", "Titles");
  buildTitlesPage(w, w.tsTitles);
  w.tsOption = addPage(w.PageControl, "tsOption", "Options");
  buildOptionsPage(w, r);
}

}  // namespace tessaly::app
