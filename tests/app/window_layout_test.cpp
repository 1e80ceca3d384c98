// fMain as it starts: every control's name, text, hint, place and state, and how the
// controls follow the window when it is resized.
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

#include <QStyle>
#include <QStyleOptionButton>
#include <filesystem>

#include "app/logo.h"
#include "app/pane_splitter.h"
#include "app/status_panels.h"
#include "desk.h"
#include "session/selection.h"
#include "support/temp_dir.h"
#include "tools/sample_playlists.h"

namespace tessaly::testing {
namespace {

QString textOf(const QWidget* control) {
  if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  return "(no text)";
}

// True when the box's text fits the room its style draws the text in.
bool captionWhole(const QCheckBox* box) {
  QStyleOptionButton option;
  option.initFrom(box);
  const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
  return box->fontMetrics().horizontalAdvance(box->text()) <= room.width();
}

// Shows the page and lets its boxes be laid out; returns the boxes that lie outside the
// page or over another one.
QStringList misplacedBoxes(QTabWidget* pages, QWidget* page) {
  pages->setCurrentWidget(page);
  QApplication::processEvents();
  const QList<QCheckBox*> boxes = page->findChildren<QCheckBox*>();
  QStringList misplaced;
  for (const QCheckBox* box : boxes) {
    const bool over = std::any_of(boxes.begin(), boxes.end(), [box](const QCheckBox* other) {
      return other != box && other->geometry().intersects(box->geometry());
    });
    if (over || !page->rect().contains(box->geometry())) misplaced << box->objectName();
  }
  return misplaced;
}

}  // namespace

class WindowLayoutTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { desk = std::make_unique<Desk>(); }
  void cleanup() { desk.reset(); }

  void frameControls();
  void streamBoxesStandInTwoColumnsOfEight();
  void pagesInTabOrder();
  void optionsPageStartsFromTheDefaults();
  void xplPageHoldsTheFourEmptyNodes();
  void captionFontsAndStatusBar();
  void controlsFollowTheResizedWindow();
  void streamCaptionsShowWholeAfterReadXplOnTheSample();
  void tabOrderFollowsTheScreen();
  void theLogoFitsItsPlaceAndStandsOutOnLightAndDarkWindows();

 private:
  std::unique_ptr<Desk> desk;
};

void WindowLayoutTest::frameControls() {
  struct Control {
    const char* name;
    QString text;
    QString hint;
    QRect place;
    bool enabled;
  };
  const Control controls[] = {
      {"eEVOfile", "", "Drop here the source EVO file", {8, 8, 249, 21}, true},
      {"bbEVO", "", "Browse an EVO file", {263, 6, 25, 25}, true},
      {"bCheck", "Read EVO", "Read the source EVO file to detect streams", {294, 7, 60, 25}, false},
      {"eXPLfile", "", "Drop here the VPLST000.XPL", {8, 40, 249, 21}, true},
      {"bbXPL", "", "Browse the HD DVD disc's VPLST000.XPL", {263, 38, 25, 25}, true},
      {"bReadXPL",
       "Read XPL",
       "Read the XPL file to detect stream infos",
       {294, 38, 60, 25},
       false},
      {"PageControl", "(no text)", "", {8, 69, 346, 219}, true},
      {"bDemux", "Demux", "Demux the source EVO to streams", {8, 294, 60, 25}, false},
      {"imLogo", "(no text)", "HD DVD logo :-)", {119, 292, 125, 31}, true},
      {"bCancel", "Cancel", "You can stop the actual process", {294, 294, 60, 25}, false},
      {"StatusBar", "(no text)", " Select or drop an EVO file to demux", {0, 325, 362, 21}, true},
  };
  for (const Control& expected : controls) {
    const QWidget* control = desk->find<QWidget>(expected.name);
    QVERIFY2(control, expected.name);
    QCOMPARE(control->parentWidget(), &desk->fMain);
    QCOMPARE(textOf(control), expected.text);
    QCOMPARE(control->toolTip(), expected.hint);
    QCOMPARE(control->geometry(), expected.place);
    QCOMPARE(control->isEnabled(), expected.enabled);
  }
}

void WindowLayoutTest::streamBoxesStandInTwoColumnsOfEight() {
  const std::pair<BoxGroup, const char*> groups[] = {
      {BoxGroup::Video, "tsVideo"}, {BoxGroup::Audio, "tsAudio"}, {BoxGroup::Sub, "tsSubpicture"}};
  const int rows[] = {9, 31, 53, 75, 98, 120, 142, 165};
  int boxes = 0;
  for (const auto& [group, page] : groups) {
    const int count = group == BoxGroup::Video ? 8 : 16;
    for (int n = 0; n < count; ++n, ++boxes) {
      const std::string name = boxName(group, n);
      auto* box = desk->find<QCheckBox>(name.c_str());
      QVERIFY2(box, name.c_str());
      QCOMPARE(box->parentWidget()->objectName(), QString(page));
      QCOMPARE(box->geometry(), QRect(n < 8 ? 9 : 165, rows[n % 8], 140, 17));
      QVERIFY(!box->isEnabled());
      QVERIFY(!box->isChecked());
      const QString caption = group == BoxGroup::Video   ? "Video stream"
                              : group == BoxGroup::Audio ? "Audio stream"
                                                         : "Subpicture";
      QCOMPARE(box->text(), caption);
      const bool hinted = group == BoxGroup::Sub && n > 0;
      QCOMPARE(box->toolTip(), hinted ? "Check the desired subpicture streams" : "");
    }
  }
  QCOMPARE(boxes, 40);
}

void WindowLayoutTest::pagesInTabOrder() {
  auto* pages = desk->find<QTabWidget>("PageControl");
  const QStringList names{"tsStatus", "tsVideo",  "tsAudio", "tsSubpicture",
                          "tsXPL",    "tsTitles", "tsOption"};
  const QStringList captions{"Status", "Video", "Audio", "Subpicture", "XPL", "Titles", "Options"};
  const QStringList hints{"",
                          "Check the desired video stream",
                          "Check the desired audio streams",
                          "Check the desired subpicture streams",
                          "",
                          "",
                          ""};
  QCOMPARE(pages->count(), 7);
  for (int n = 0; n < 7; ++n) {
    QCOMPARE(pages->widget(n)->objectName(), names[n]);
    QCOMPARE(pages->tabText(n), captions[n]);
    QCOMPARE(pages->tabToolTip(n), hints[n]);
  }
  QCOMPARE(pages->currentIndex(), 0);
  auto* log = desk->find<QPlainTextEdit>("mMessage");
  QCOMPARE(log->parentWidget(), pages->widget(0));
  QVERIFY(log->document()->isEmpty());
  QVERIFY(log->isReadOnly());
  QCOMPARE(log->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void WindowLayoutTest::optionsPageStartsFromTheDefaults() {
  auto* group = desk->find<QGroupBox>("gbFile");
  auto* page = desk->find<QWidget>("tsOption");
  QVERIFY(page->isAncestorOf(group));
  QCOMPARE(desk->find<QLabel>("lVideoExt")->text(), "Extensions (video, audio, subtitle)");
  QCOMPARE(desk->find<QLabel>("lWorkdir")->text(), "Output folder");
  const std::pair<const char*, const char*> extensions[] = {
      {"eVideoExt", "mpv"}, {"eAudioExt", "mpa"}, {"eSubExt", "sup"}};
  for (const auto& [name, text] : extensions) {
    auto* edit = desk->find<QLineEdit>(name);
    QCOMPARE(edit->parentWidget(), group);
    QCOMPARE(edit->text(), text);
    QCOMPARE(edit->maxLength(), 5);
  }
  QCOMPARE(desk->find<QLineEdit>("eWorkdir")->text(), "");
  auto* resume = desk->find<QCheckBox>("cbContinue");
  QCOMPARE(resume->text(), "Continue with second  EVO");
  QCOMPARE(resume->toolTip(), "Demux continues with e.g. FEATURE_2.EVO if it exists");
  QVERIFY(resume->isChecked());
  auto* fast = desk->find<QCheckBox>("cbFastCheck");
  QCOMPARE(fast->text(), "Fast EVO checking");
  QCOMPARE(fast->toolTip(), "Read EVO checks only the first ~300 MB of the file");
  QVERIFY(fast->isChecked());
  // The added boxes: off, under the group.
  const std::pair<const char*, const char*> added[] = {
      {"cbMatroska", "Make a Matroska file (needs mkvmerge)"},
      {"cbForTools", "Outputs for other tools (codec names, WAV, timed subtitles)"}};
  for (const auto& [name, caption] : added) {
    auto* box = desk->find<QCheckBox>(name);
    QCOMPARE(QString(box->text()).replace('\n', ' '), caption);  // broken into lines, never cut
    QVERIFY(!box->isChecked());
    QCOMPARE(box->parentWidget(), group->parentWidget());
  }
  // At the standard size the page shows every control whole, without scrolling, the
  // group and the added boxes one under the other.
  desk->showActive();
  desk->find<QTabWidget>("PageControl")->setCurrentWidget(page);
  QApplication::processEvents();
  QVERIFY(!desk->find<QScrollArea>("scOption")->verticalScrollBar()->isVisible());
  int lastBottom = -1;
  for (QWidget* control : page->findChildren<QWidget*>(QRegularExpression("^(gb|l|e|cb)[A-Z]"))) {
    const char* name = qPrintable(control->objectName());
    QVERIFY2(page->rect().contains(QRect(control->mapTo(page, QPoint(0, 0)), control->size())),
             name);
    QVERIFY2(control->visibleRegion() == QRegion(control->rect()), name);
    if (!qobject_cast<QLineEdit*>(control)) {  // a text shown whole
      QVERIFY2(control->size().expandedTo(control->sizeHint()) == control->size(), name);
    }
    if (control->parentWidget() == group->parentWidget()) {
      QVERIFY2(control->y() > lastBottom, name);
      lastBottom = control->geometry().bottom();
    }
  }
  QCOMPARE(lastBottom, desk->find<QCheckBox>("cbForTools")->geometry().bottom());
}

void WindowLayoutTest::xplPageHoldsTheFourEmptyNodes() {
  auto* tree = desk->find<QTreeWidget>("tvXPL");
  QCOMPARE(tree->toolTip(), "Infos from your XPL file");
  QCOMPARE(tree->selectionMode(), QAbstractItemView::ExtendedSelection);
  QCOMPARE(tree->topLevelItemCount(), 4);
  const QStringList nodes{"Video", "Audio", "Subpicture", "Chapter"};
  for (int n = 0; n < 4; ++n) {
    QCOMPARE(tree->topLevelItem(n)->text(0), nodes[n]);
    QCOMPARE(tree->topLevelItem(n)->childCount(), 0);
  }
  auto* split = desk->find<app::PaneSplitter>("splXPL");
  QCOMPARE(split->parentWidget()->objectName(), QString("tsXPL"));
  QCOMPARE(split->firstPaneWidth(), 96);
  auto* memo = desk->find<QPlainTextEdit>("mXPL");
  QCOMPARE(memo->toolTip(), "This is your XPL file (part of it)");
  QVERIFY(QFontInfo(memo->font()).fixedPitch());

  desk->showActive();
  desk->find<QTabWidget>("PageControl")->setCurrentIndex(4);
  QCOMPARE(tree->width(), 96);
  QCOMPARE(tree->minimumWidth(), 50);
  QCOMPARE(memo->minimumWidth(), 50);
}

void WindowLayoutTest::captionFontsAndStatusBar() {
  QCOMPARE(desk->fMain.objectName(), "fMain");
  QCOMPARE(desk->fMain.windowTitle(), "Tessaly 0.52 (based on Halvard's demux 0.5)");
  QCOMPARE(desk->fMain.size(), QSize(362, 346));
  QCOMPARE(desk->fMain.minimumSize(), QSize(362, 346));
  QVERIFY(desk->find<QPushButton>("bDemux")->font().bold());
  QVERIFY(!desk->find<QPushButton>("bCheck")->font().bold());
  QVERIFY(!desk->find<QToolButton>("bbEVO")->icon().isNull());
  auto* bar = desk->find<app::StatusPanels>("StatusBar");
  QCOMPARE(bar->panel(0)->text(), " Ready");
  QCOMPARE(bar->panel(0)->width(), 40);
  QCOMPARE(bar->panel(1)->text(), " Select or drop an EVO file to demux");
}

void WindowLayoutTest::controlsFollowTheResizedWindow() {
  desk->showActive();
  desk->find<QTabWidget>("PageControl")->setCurrentIndex(4);
  auto* tree = desk->find<QTreeWidget>("tvXPL");
  auto* memo = desk->find<QPlainTextEdit>("mXPL");
  const double share = tree->width() / double(tree->width() + memo->width());
  desk->fMain.resize(1362, 446);  // 1,000 pixels wider and 100 higher than designed
  // The tree keeps its share of the width.
  QVERIFY2(std::abs(tree->width() - share * (tree->width() + memo->width())) < 1.5,
           qPrintable(QString("%1 of %2").arg(tree->width()).arg(tree->width() + memo->width())));
  desk->fMain.resize(462, 446);  // 100 pixels wider and higher than designed
  const std::pair<const char*, QRect> places[] = {
      {"eEVOfile", {8, 8, 349, 21}},      {"bbEVO", {363, 6, 25, 25}},
      {"bCheck", {394, 7, 60, 25}},       {"eXPLfile", {8, 40, 349, 21}},
      {"bbXPL", {363, 38, 25, 25}},       {"bReadXPL", {394, 38, 60, 25}},
      {"PageControl", {8, 69, 446, 319}}, {"bDemux", {8, 394, 60, 25}},
      {"imLogo", {169, 392, 125, 31}},    {"bCancel", {394, 394, 60, 25}},
      {"StatusBar", {0, 425, 462, 21}},
  };
  for (const auto& [name, place] : places) {
    QCOMPARE(desk->find<QWidget>(name)->geometry(), place);
  }
  desk->fMain.resize(300, 300);  // below the least size: held at the designed one
  QCOMPARE(desk->fMain.size(), QSize(362, 346));
  QCOMPARE(tree->width(), 96);
  QCOMPARE(desk->find<QWidget>("bCancel")->geometry(), QRect(294, 294, 60, 25));
}

void WindowLayoutTest::streamCaptionsShowWholeAfterReadXplOnTheSample() {
  const TempDir disc;
  std::filesystem::create_directories(disc.file("ADV_OBJ"));
  writeFile(disc.file("ADV_OBJ/VPLST000.XPL"), tools::titlesPlaylist());
  desk->showActive();
  desk->drop(&desk->fMain, {QString::fromStdString(disc.file("HVDVD_TS/FEATURE_1.EVO"))});
  Desk::click(desk->find<QPushButton>("bReadXPL"));
  QCOMPARE(desk->find<QCheckBox>("cbAudio01")->text(), "MLP.6ch.stream.01.English lossless");
  auto* pages = desk->find<QTabWidget>("PageControl");
  for (const char* name : {"tsVideo", "tsAudio", "tsSubpicture"}) {
    auto* page = desk->find<QWidget>(name);
    QCOMPARE(misplacedBoxes(pages, page), QStringList());
    for (const QCheckBox* box : page->findChildren<QCheckBox*>()) {
      QVERIFY2(captionWhole(box), qPrintable(box->text()));
    }
  }
  // Captions in both columns longer than the page holds: each box that cuts its caption
  // shows it whole in its tooltip.
  const QString longer = "8bitRLC.stream.00.Portuguese (Brazil), the director's commentary";
  for (CheckBox& record : desk->s.fMain.cbSub) record.caption = longer.toStdString();
  desk->fMain.mirror();
  auto* page = desk->find<QWidget>("tsSubpicture");
  QCOMPARE(misplacedBoxes(pages, page), QStringList());
  for (const QCheckBox* box : page->findChildren<QCheckBox*>()) {
    QVERIFY(!captionWhole(box));
    QCOMPARE(box->toolTip(), longer);
  }
}

void WindowLayoutTest::tabOrderFollowsTheScreen() {
  const QStringList frame{"eEVOfile", "bbEVO",       "bCheck", "eXPLfile", "bbXPL",
                          "bReadXPL", "PageControl", "bDemux", "bCancel"};
  QStringList visited;
  QWidget* control = desk->find<QWidget>("eEVOfile");
  do {
    if (frame.contains(control->objectName())) visited << control->objectName();
    control = control->nextInFocusChain();
  } while (control != desk->find<QWidget>("eEVOfile"));
  QCOMPARE(visited, frame);
}

void WindowLayoutTest::theLogoFitsItsPlaceAndStandsOutOnLightAndDarkWindows() {
  for (const QColor window : {QColor(239, 239, 239), QColor(40, 40, 45)}) {
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    QImage logo(125, 31, QImage::Format_ARGB32);
    logo.fill(window);
    app::paintLogo(logo, QRectF(0, 0, 125, 31), palette);
    int lastInked = -1;
    int contrast = 0;
    for (int x = 40; x < logo.width(); ++x) {  // the lettering, right of the disc
      for (int y = 0; y < logo.height(); ++y) {
        const int difference = std::abs(logo.pixelColor(x, y).lightness() - window.lightness());
        contrast = std::max(contrast, difference);
        if (difference > 0) lastInked = x;
      }
    }
    QVERIFY2(lastInked > 110 && lastInked < 124, qPrintable(QString::number(lastInked)));
    QVERIFY2(contrast > 100, qPrintable(QString::number(contrast)));
  }
}

}  // namespace tessaly::testing

QTEST_MAIN(tessaly::testing::WindowLayoutTest)
#include "window_layout_test.moc"
