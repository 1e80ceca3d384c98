// The window's activation and close: settings loaded then boxes reset on every
// activation (not during a job), settings saved from the window's geometry on close.
#include <QCheckBox>
#include <QLineEdit>
#include <QSplitterHandle>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "app/form_events.h"
#include "app/pane_splitter.h"
#include "desk.h"
#include "shell/registry_store.h"

namespace tessaly::testing {

class FormEventsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { desk = std::make_unique<Desk>(); }
  void cleanup() { desk.reset(); }

  void startUpActivationLoadsSettingsThenResetsTheBoxes();
  void aValueOfTheWrongTypeIsShownAndSkipsTheReset();
  void closingTheErrorBoxDoesNotLoadTheSettingsAgain();
  void everyActivationReloadsTheStoredValues();
  void anActivationDuringAJobChangesNothing();
  void storedGeometryAndStateAreApplied();
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

void FormEventsTest::aValueOfTheWrongTypeIsShownAndSkipsTheReset() {
  desk->storeSettings("\"AudioExt\"=\"dts\"\n\"VideoExt\"=dword:00000001\n");
  desk->showActive();
  QCOMPARE(desk->prompts.errors, QStringList{"Invalid data type for 'VideoExt'"});
  QCOMPARE(desk->find<QLineEdit>("eAudioExt")->text(), "dts");  // loaded before it
  QCOMPARE(desk->find<QCheckBox>("cbAudio00")->text(), "Audio stream");

  desk->storeSettings("\"VideoExt\"=\"avc\"\n");  // mended: the next activation completes
  desk->activate();
  QCOMPARE(desk->find<QLineEdit>("eVideoExt")->text(), "avc");
  QCOMPARE(desk->find<QCheckBox>("cbAudio00")->text(), "No audio stream");
}

// Error boxes that take the focus from the window as a real box does; while a box is
// open the window is activated, as some platforms do before the box is gone.
class FocusTakingBoxes : public ScriptedPrompts {
 public:
  void showError(QWidget* parent, const QString& message) override {
    ScriptedPrompts::showError(parent, message);
    QWidget box;
    box.show();
    QApplication::processEvents();
    QVERIFY(!parent->isActiveWindow());
    QEvent activation(QEvent::WindowActivate);
    QApplication::sendEvent(parent, &activation);
  }
};

void FormEventsTest::closingTheErrorBoxDoesNotLoadTheSettingsAgain() {
  ConfigHome home;
  FocusTakingBoxes boxes;
  app::WindowedSession real(boxes);
  Desk::storeSettings(home, "\"Width\"=\"wide\"\n");
  real.fMain.show();
  QApplication::processEvents();
  QCOMPARE(boxes.errors, QStringList{"Invalid data type for 'Width'"});

  QEvent activation(QEvent::WindowActivate);
  QApplication::sendEvent(&real.fMain, &activation);  // the platform's, after the box
  QCOMPARE(boxes.errors.size(), 1);
  QApplication::sendEvent(&real.fMain, &activation);  // the operator's return
  QCOMPARE(boxes.errors.size(), 2);
}

void FormEventsTest::everyActivationReloadsTheStoredValues() {
  desk->storeSettings("\"Workdir\"=\"/stored\"\n");
  desk->showActive();
  auto* workdir = desk->find<QLineEdit>("eWorkdir");
  workdir->clear();
  QTest::keyClicks(workdir, "/typed");
  QCOMPARE(desk->s.fMain.eWorkdir.text, "/typed");
  desk->s.fMain.cbAudio[3] = {true, true, "DD+.stream.03", ""};
  desk->fMain.mirror();

  desk->activate();
  QCOMPARE(workdir->text(), "/stored");
  auto* box = desk->find<QCheckBox>("cbAudio03");
  QCOMPARE(box->text(), "No audio stream");
  QVERIFY(!box->isEnabled());
  QVERIFY(box->isChecked());  // the reset keeps ticks
}

void FormEventsTest::anActivationDuringAJobChangesNothing() {
  desk->showActive();
  desk->storeSettings("\"Workdir\"=\"/stored\"\n");
  desk->s.fMain.cbVideo[0] = {true, true, "VC-1.stream.0", ""};
  {
    JobGuard job(desk->s);  // as when the Yes/No box of a running demux closes
    desk->fMain.mirror();
    desk->activate();
    QCOMPARE(desk->s.fMain.cbVideo[0].caption, "VC-1.stream.0");
    QVERIFY(desk->s.fMain.cbVideo[0].enabled);
    QCOMPARE(desk->s.fMain.eWorkdir.text, "");
  }
  desk->activate();
  QCOMPARE(desk->s.fMain.eWorkdir.text, "/stored");
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

  desk->storeSettings("\"WindowState\"=dword:00000002\n");
  desk->activate();
  QVERIFY(desk->fMain.isMaximized());
  desk->storeSettings("\"WindowState\"=dword:00000000\n");
  desk->activate();
  QVERIFY(!desk->fMain.isMaximized());
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
