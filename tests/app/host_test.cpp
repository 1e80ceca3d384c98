// The Qt host: log lines and status panels visible at once, the records shown and
// pending events handled at every breath of a job, and the real modal boxes.
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <memory>

#include "app/prompts.h"
#include "app/status_panels.h"
#include "desk.h"
#include "session/log.h"

namespace tessaly::testing {

class HostTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { desk = std::make_unique<Desk>(); }
  void cleanup() { desk.reset(); }

  void slogSizesEachPanelToItsTextAndOnlyPanelOneHints();
  void logLinesAppearAtOnceAndBurstsArePaintedInBatches();
  void aLongProgressTextShowsItsRemainingTimeAtTheDesignedWidth();
  void theLogFollowsItsEndUnlessScrolledBack();
  void processMessagesShowsTheRecordsThenHandlesPendingEvents();
  void theRealQuestionBoxDefaultsToNo();
  void theRealErrorBoxShowsTheMessageAsItIs();

 private:
  // Presses Enter in the modal box that opens next, after noting its text.
  static void answerNextBoxWithEnter(QString& text);
  std::unique_ptr<Desk> desk;
};

void HostTest::slogSizesEachPanelToItsTextAndOnlyPanelOneHints() {
  auto* bar = desk->find<app::StatusPanels>("StatusBar");
  const QFontMetrics metrics(bar->font());
  slog(desk->s, "Reading", 0);
  QCOMPARE(bar->panel(0)->text(), " Reading");
  QCOMPARE(bar->panel(0)->width(), metrics.horizontalAdvance(" Readinga"));
  QCOMPARE(bar->toolTip(), " Select or drop an EVO file to demux");

  slog(desk->s, "FEATURE_1.EVO: 4/12 Mbytes", 1);
  QCOMPARE(bar->panel(1)->text(), " FEATURE_1.EVO: 4/12 Mbytes");
  QCOMPARE(bar->panel(1)->panelWidth(), metrics.horizontalAdvance(" FEATURE_1.EVO: 4/12 Mbytesa"));
  QCOMPARE(bar->toolTip(), "FEATURE_1.EVO: 4/12 Mbytes");

  slog(desk->s, "", 0);
  QCOMPARE(bar->panel(0)->text(), " ");
  QCOMPARE(bar->panel(0)->width(), metrics.horizontalAdvance(" a"));
  QCOMPARE(bar->toolTip(), "FEATURE_1.EVO: 4/12 Mbytes");
}

void HostTest::logLinesAppearAtOnceAndBurstsArePaintedInBatches() {
  desk->showActive();
  auto* memo = desk->find<QPlainTextEdit>("mMessage");
  log(desk->s, "Opening file FEATURE_1.EVO");
  QCOMPARE(memo->toPlainText(), "Opening file FEATURE_1.EVO");

  const EventCounter paints(memo->viewport(), QEvent::Paint);
  QStringList expected{"Opening file FEATURE_1.EVO"};
  for (int n = 0; n < 5000; ++n) {
    expected << QString("DD+.stream.%1 found!").arg(n);
    log(desk->s, expected.last().toStdString());
  }
  desk->fMain.mirror();  // as at the end of every handler
  QCOMPARE(memo->toPlainText(), expected.join('\n'));
  QVERIFY2(paints.count < 50, qPrintable(QString::number(paints.count)));
  // Every paragraph of the memo is a group of at most 16 lines (a burst appended in more
  // batches, as a loaded machine paints it, starts more groups), and still reads as lines.
  for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
    QVERIFY(block.text().count(QChar::LineSeparator) < 16);
  }
  QVERIFY2(memo->blockCount() < 5001 / 8, qPrintable(QString::number(memo->blockCount())));
  memo->selectAll();
  memo->copy();
  QCOMPARE(QGuiApplication::clipboard()->text(), expected.join('\n'));
}

void HostTest::aLongProgressTextShowsItsRemainingTimeAtTheDesignedWidth() {
  desk->showActive();
  slog(desk->s, "Writing stream(s)", 0);
  const std::string progress = "Demuxing FEATURE_1.EVO 400/31744 Mbytes, Remaining time: 0:21:07";
  slog(desk->s, progress, 1);
  QApplication::processEvents();  // the bar lays its panels out
  QCOMPARE(desk->fMain.width(), 362);
  const auto* panel = desk->find<app::StatusPanels>("StatusBar")->panel(1);
  const QString shown = panel->shownText();
  QVERIFY2(shown.endsWith("Mbytes, Remaining time: 0:21:07"), qPrintable(shown));
  QVERIFY(shown.size() < static_cast<int>(progress.size()));  // too long for the room
  QVERIFY(panel->geometry().right() < desk->fMain.width());
  QCOMPARE(panel->text(), " " + QString::fromStdString(progress));
}

void HostTest::theLogFollowsItsEndUnlessScrolledBack() {
  desk->showActive();
  desk->s.fMain.PageControl = tsOption;  // a job starts on another page
  desk->fMain.mirror();
  for (int n = 0; n < 100; ++n) log(desk->s, "line " + std::to_string(n));
  desk->s.fMain.PageControl = tsStatus;
  desk->fMain.mirror();
  QScrollBar* bar = desk->find<QPlainTextEdit>("mMessage")->verticalScrollBar();
  QVERIFY(bar->maximum() > 0);
  QCOMPARE(bar->value(), bar->maximum());

  bar->setValue(10);  // the operator reads back
  for (int n = 0; n < 100; ++n) log(desk->s, "more " + std::to_string(n));
  desk->fMain.mirror();
  QCOMPARE(bar->value(), 10);

  // Lines wider than the log, logged on another page, leave the view at the lines' start.
  QScrollBar* across = desk->find<QPlainTextEdit>("mMessage")->horizontalScrollBar();
  bar->setValue(bar->maximum());
  desk->s.fMain.PageControl = tsOption;
  desk->fMain.mirror();
  for (int n = 0; n < 20; ++n) log(desk->s, "Creating " + std::string(300 + n, 'x'));
  desk->s.fMain.PageControl = tsStatus;
  desk->fMain.mirror();
  QApplication::processEvents();
  QVERIFY(across->maximum() > 0);
  QCOMPARE(across->value(), 0);
  QCOMPARE(bar->value(), bar->maximum());
}

void HostTest::processMessagesShowsTheRecordsThenHandlesPendingEvents() {
  desk->s.fMain.eEVOfile.text = "/films/A.EVO";
  desk->s.fMain.bCancel.enabled = true;
  QString seenByTheEvent;
  QTimer::singleShot(0, &desk->fMain,
                     [&] { seenByTheEvent = desk->find<QLineEdit>("eEVOfile")->text(); });
  desk->s.host.processMessages();
  QCOMPARE(seenByTheEvent, "/films/A.EVO");
  QVERIFY(desk->find<QWidget>("bCancel")->isEnabled());
}

void HostTest::answerNextBoxWithEnter(QString& text) {
  QTimer::singleShot(0, [&text] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(box);
    text = box->text();
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QTest::keyClick(box, Qt::Key_Return);
  });
}

void HostTest::theRealQuestionBoxDefaultsToNo() {
  app::ModalPrompts prompts;
  QString asked;
  answerNextBoxWithEnter(asked);
  QVERIFY(!prompts.askYesNo(&desk->fMain, "Are you sure to stop demuxing?"));
  QCOMPARE(asked, "Are you sure to stop demuxing?");
}

void HostTest::theRealErrorBoxShowsTheMessageAsItIs() {
  app::ModalPrompts prompts;
  QString shown;
  answerNextBoxWithEnter(shown);
  const QString message = "Cannot open file \"/films/<b>A&B</b>.EVO\". No such file or directory";
  prompts.showError(&desk->fMain, message);
  QCOMPARE(shown, message);
}

}  // namespace tessaly::testing

QTEST_MAIN(tessaly::testing::HostTest)
#include "host_test.moc"
