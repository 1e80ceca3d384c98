// The window's activation and close: settings loaded then boxes reset at the start-up
// activation only, stored geometry fitted to the screen, settings saved on close.
#include <QCheckBox>
#include <QLineEdit>
#include <QScreen>
#include <QSplitterHandle>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/pane_splitter.h"
#include "app/window_geometry.h"
#include "desk.h"
#include "platform/registry_store.h"

namespace tessaly::testing {

class FormEventsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { desk = std::make_unique<Desk>(); }
  void cleanup() { desk.reset(); }

  void startUpActivationLoadsSettingsThenResetsTheBoxes();
  void aValueOfTheWrongTypeIsShownOnceAndSkipsTheReset();
  void laterActivationsKeepTheOperatorsWork();
  void aLongStoredExtensionIsShownAsItIsUsed();
  void storedGeometryAndStateAreApplied();
  void storedGeometryIsFittedToTheScreen();
  void closeSavesGeometryStateTreeWidthAndOptions();
  void aMaximisedCloseKeepsTheNormalGeometry();

 private:
  std::int32_t storedInteger(const char* name) const;
  std::unique_ptr<Desk> desk;
};

std::int32_t FormEventsTest::storedInteger(const char* name) const {
  RegistryKey key("\\Software\\Corvane Software\\Tessaly");
  if (!key.openRead()) return -1;
  return key.readInteger(name);
}

void FormEventsTest::startUpActivationLoadsSettingsThenResetsTheBoxes() {
  desk->storeSettings("\"AudioExt\"=\"dts\"\n\"Workdir\"=\"/out\"\n\"Continue\"=dword:00000000\n");
  desk->showActive();
  QVERIFY(desk->fMain.isActiveWindow());
  QCOMPARE(desk->find<QLineEdit>("eAudioExt")->text(), "dts");
  QCOMPARE(desk->find<QLineEdit>("eVideoExt")->text(), "mpv");  // not stored: kept
  QCOMPARE(desk->find<QLineEdit>("eWorkdir")->text(), "/out");
  QVERIFY(!desk->find<QCheckBox>("cbContinue")->isChecked());
  QCOMPARE(desk->find<QCheckBox>("cbVideo7")->text(), "No video stream");
  QCOMPARE(desk->find<QCheckBox>("cbAudio15")->text(), "No audio stream");
  QCOMPARE(desk->find<QCheckBox>("cbSub00")->text(), "No subpicture");
  QVERIFY(desk->prompts.errors.isEmpty());
}

void FormEventsTest::aValueOfTheWrongTypeIsShownOnceAndSkipsTheReset() {
  desk->storeSettings("\"AudioExt\"=\"dts\"\n\"VideoExt\"=dword:00000001\n");
  desk->showActive();  // the error box's close activates the window again
  QCOMPARE(desk->prompts.errors, QStringList{"Invalid data type for 'VideoExt'"});
  QCOMPARE(desk->find<QLineEdit>("eAudioExt")->text(), "dts");  // loaded before it
  QCOMPARE(desk->find<QCheckBox>("cbAudio00")->text(), "Audio stream");

  desk->storeSettings("\"VideoExt\"=\"avc\"\n");
  desk->returnFromAnotherProgram();
  QCOMPARE(desk->prompts.errors.size(), 1);
  QCOMPARE(desk->find<QLineEdit>("eVideoExt")->text(), "mpv");
}

void FormEventsTest::laterActivationsKeepTheOperatorsWork() {
  desk->storeSettings("\"Workdir\"=\"/stored\"\n\"EVOdir\"=\"/old/HVDVD_TS/\"\n");
  desk->showActive();
  const EventCounter activations(&desk->fMain, QEvent::WindowActivate);
  auto* workdir = desk->find<QLineEdit>("eWorkdir");
  workdir->clear();
  QTest::keyClicks(workdir, "/typed");
  desk->s.fMain.cbAudio[3] = {true, true, "DD+.stream.03", ""};
  desk->fMain.mirror();
  desk->fMain.move(40, 50);
  desk->fMain.resize(480, 400);
  const QRect place = desk->fMain.frameGeometry();
  desk->find<app::PaneSplitter>("splXPL")->setFirstPaneWidth(130);

  desk->returnFromAnotherProgram();
  desk->prompts.choice = "/disc/ADV_OBJ/VPLST000.XPL";
  Desk::click(desk->find<QToolButton>("bbXPL"));
  desk->prompts.answers = {false};
  desk->s.host.askYesNo("Are you sure to stop demuxing?");
  desk->s.host.showError("Stream write error");
  QCOMPARE(activations.count, 4);

  QCOMPARE(workdir->text(), "/typed");
  auto* box = desk->find<QCheckBox>("cbAudio03");
  QCOMPARE(box->text(), "DD+.stream.03");
  QVERIFY(box->isEnabled());
  QVERIFY(box->isChecked());
  QCOMPARE(desk->fMain.frameGeometry(), place);
  QCOMPARE(desk->find<app::PaneSplitter>("splXPL")->firstPaneWidth(), 130);
  QCOMPARE(desk->s.EVOdir, "/disc/HVDVD_TS/");  // set by the chosen playlist

  desk->prompts.choice.clear();
  Desk::click(desk->find<QToolButton>("bbEVO"));
  QCOMPARE(desk->prompts.dialogs.back().initialDir, "/disc/HVDVD_TS/");
}

void FormEventsTest::aLongStoredExtensionIsShownAsItIsUsed() {
  desk->storeSettings("\"AudioExt\"=\"abcdefghij\"\n");
  desk->showActive();
  auto* edit = desk->find<QLineEdit>("eAudioExt");
  const auto shown = [&](const char* text) {
    QCOMPARE(edit->text(), text);
    QCOMPARE(desk->s.fMain.eAudioExt.text, text);  // what the demux job names files with
  };
  shown("abcdefghij");
  edit->setFocus();
  edit->end(false);
  QTest::keyClick(edit, Qt::Key_K);  // typing stops at the limit
  shown("abcdefghij");
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_X);
  shown("abcdefghi");
  edit->selectAll();
  QTest::keyClicks(edit, "mpeg-audio");
  shown("mpeg-");
}

void FormEventsTest::storedGeometryAndStateAreApplied() {
  desk->storeSettings(
      "\"Left\"=dword:0000001e\n\"Top\"=dword:00000028\n\"Width\"=dword:000001f4\n"
      "\"Height\"=dword:000001a4\n\"WindowState\"=dword:00000001\n\"TreeWidth\"=dword:00000078\n");
  desk->showActive();
  QCOMPARE(desk->fMain.frameGeometry(), QRect(30, 40, 500, 420));
  QVERIFY(!desk->fMain.isMinimized());  // brought up by the operator: stays up
  desk->find<QTabWidget>("PageControl")->setCurrentIndex(tsXPL);
  QCOMPARE(desk->find<QWidget>("tvXPL")->width(), 120);

  Desk maximised;
  maximised.storeSettings("\"WindowState\"=dword:00000002\n");
  maximised.showActive();
  QVERIFY(maximised.fMain.isMaximized());
}

void FormEventsTest::storedGeometryIsFittedToTheScreen() {
  const QRect screen = desk->fMain.screen()->availableGeometry();
  desk->storeSettings(
      "\"Left\"=dword:7fffffff\n\"Top\"=dword:7fffffff\n\"Width\"=dword:7fffffff\n"
      "\"Height\"=dword:7fffffff\n\"TreeWidth\"=dword:fffffff6\n");
  desk->showActive();
  QCOMPARE(desk->fMain.frameGeometry(), screen);
  desk->find<QTabWidget>("PageControl")->setCurrentIndex(tsXPL);
  QCOMPARE(desk->find<QWidget>("tvXPL")->width(), 50);  // the least pane width
  QVERIFY(desk->fMain.close());
  QCOMPARE(storedInteger("Width"), screen.width());
  QCOMPARE(storedInteger("Left"), screen.left());
  QCOMPARE(storedInteger("TreeWidth"), 50);

  // Out of view on either side: moved in, keeping its size; in view: kept where it is.
  const QSize least(370, 380);
  const QRect inView(-200, 0, 1400, 600);
  QCOMPARE(app::fitToScreen({40, 3000, 500, 420, 0}, least, screen, screen),
           QRect(screen.right() + 1 - 500, 40, 500, 420));
  QCOMPARE(app::fitToScreen({-1000, -1000, 500, 420, 0}, least, screen, screen),
           QRect(screen.topLeft(), QSize(500, 420)));
  QCOMPARE(app::fitToScreen({10, -150, 500, 420, 0}, least, screen, inView),
           QRect(-150, 10, 500, 420));
  QCOMPARE(app::fitToScreen({10, 20, -5, INT32_MIN, 0}, least, screen, screen),
           QRect(20, 10, 370, 380));
}

void FormEventsTest::closeSavesGeometryStateTreeWidthAndOptions() {
  desk->showActive();
  desk->fMain.move(50, 60);
  desk->fMain.resize(500, 420);
  desk->find<QTabWidget>("PageControl")->setCurrentIndex(tsXPL);
  auto* split = desk->find<app::PaneSplitter>("splXPL");
  QSplitterHandle* handle = split->handle(1);
  QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(1, 10));
  QTest::mouseMove(handle, QPoint(25, 10));
  QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(25, 10));
  QCOMPARE(desk->s.fMain.tvXPL.width, 120);
  desk->find<QCheckBox>("cbFastCheck")->click();
  desk->find<QCheckBox>("cbForTools")->click();
  const QRect outer = desk->fMain.frameGeometry();  // the stored size includes the frame
  QCOMPARE(outer.topLeft(), QPoint(50, 60));

  QVERIFY(desk->fMain.close());
  QCOMPARE(storedInteger("Left"), 50);
  QCOMPARE(storedInteger("Top"), 60);
  QCOMPARE(storedInteger("Width"), outer.width());
  QCOMPARE(storedInteger("Height"), outer.height());
  QCOMPARE(storedInteger("WindowState"), 0);
  QCOMPARE(storedInteger("TreeWidth"), 120);
  QCOMPARE(storedInteger("FastCheck"), 0);
  QCOMPARE(storedInteger("Continue"), 1);
  QCOMPARE(storedInteger("Matroska"), 0);
  QCOMPARE(storedInteger("ForTools"), 1);
}

void FormEventsTest::aMaximisedCloseKeepsTheNormalGeometry() {
  desk->showActive();
  desk->fMain.move(50, 60);
  const int width = desk->fMain.frameGeometry().width();
  QVERIFY(desk->fMain.close());
  desk->showActive();
  desk->fMain.showMaximized();
  QVERIFY(desk->fMain.isMaximized());
  QVERIFY(desk->fMain.close());
  QCOMPARE(storedInteger("WindowState"), 2);
  QCOMPARE(storedInteger("Left"), 50);
  QCOMPARE(storedInteger("Width"), width);
}

}  // namespace tessaly::testing

QTEST_MAIN(tessaly::testing::FormEventsTest)
#include "form_events_test.moc"
