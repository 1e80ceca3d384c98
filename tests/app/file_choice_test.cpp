// Choosing files in the window: drops anywhere on it, the browse dialogs, and the path
// given on the command line.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "app/local_path.h"
#include "app/prompts.h"
#include "desk.h"

namespace tessaly::testing {

namespace {

// What choosing a file leaves for the handlers.
QStringList choiceState(const Session& s) {
  const Window& r = s.fMain;
  QStringList state;
  for (const std::string* text :
       {&r.eEVOfile.text, &r.eXPLfile.text, &s.EVOname, &s.BaseName, &s.EVOdir, &s.XPLdir,
        &s.XPLname, &r.odEVOfile.initialDir, &r.odXPL.initialDir, &r.odXPL.fileName}) {
    state << QString::fromStdString(*text);
  }
  return state << QString::number(r.bCheck.enabled) << QString::number(r.bReadXPL.enabled);
}

// Types the text into the edit over what it holds, then presses `key`.
void typeInto(QLineEdit* edit, const QString& text, Qt::Key key = Qt::Key_Return) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, key);
}

}  // namespace

class FileChoiceTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void cleanup() { desk.reset(); }

  void aDropTakesItsFirstFileByItsExtensionInAnyCase();
  void aDropOnAnyControlReachesTheWindow();
  void anEvoInADiscFolderDerivesThePlaylistThenTheDialogsOpenThere();
  void dialogFiltersInQtForm();
  void aPathOnTheCommandLineIsTakenAtTheFirstActivation();
  void aFolderNamedInAnotherEncodingOpens();
  void aPathTypedOrPastedIsTakenAsADropWhenConfirmed();

 private:
  QString text(const char* edit) const { return desk->find<QLineEdit>(edit)->text(); }
  bool enabled(const char* control) const { return desk->find<QWidget>(control)->isEnabled(); }
  std::unique_ptr<Desk> desk;
};

void FileChoiceTest::init() {
  desk = std::make_unique<Desk>();
  desk->showActive();
}

void FileChoiceTest::aDropTakesItsFirstFileByItsExtensionInAnyCase() {
  QVERIFY(desk->drop(&desk->fMain, {"/films/a.evo", "/films/B.EVO", "/films/VPLST000.XPL"}));
  QCOMPARE(text("eEVOfile"), "/films/a.evo");  // lower case taken, shown unchanged
  QVERIFY(enabled("bCheck"));
  QCOMPARE(text("eXPLfile"), "VPLST000.XPL");
  QVERIFY(!enabled("bReadXPL"));

  desk->drop(&desk->fMain, {"/films/notes.txt", "/films/C.EVO"});  // first one decides
  desk->drop(&desk->fMain, {"/films/EVO"});
  QCOMPARE(text("eEVOfile"), "/films/a.evo");

  desk->drop(&desk->fMain, {"/films/copy/vplst000.Xpl", "/films/D.EVO"});
  QCOMPARE(text("eXPLfile"), "/films/copy/vplst000.Xpl");
  QVERIFY(enabled("bReadXPL"));
  QCOMPARE(text("eEVOfile"), "/films/a.evo");
}

void FileChoiceTest::aDropOnAnyControlReachesTheWindow() {
  const char* targets[] = {"eEVOfile", "eWorkdir", "imLogo", "StatusBar"};
  for (const char* name : targets) {
    const QString path = QString("/films/%1.EVO").arg(name);
    QVERIFY2(desk->drop(desk->find<QWidget>(name), {path}), name);
    QCOMPARE(text("eEVOfile"), path);
  }
  QVERIFY(desk->drop(desk->find<QPlainTextEdit>("mMessage")->viewport(), {"/films/log.EVO"}));
  QCOMPARE(text("eEVOfile"), "/films/log.EVO");
  QCOMPARE(text("eWorkdir"), "");  // the path went to the window, not into the edit
}

void FileChoiceTest::anEvoInADiscFolderDerivesThePlaylistThenTheDialogsOpenThere() {
  desk->drop(&desk->fMain, {"/media/disc/HVDVD_TS/FEATURE_1.EVO"});
  QCOMPARE(text("eXPLfile"), "/media/disc/ADV_OBJ/VPLST000.XPL");
  QVERIFY(enabled("bReadXPL"));
  QVERIFY(enabled("bCheck"));

  desk->prompts.choice = "/media/disc/HVDVD_TS/FEATURE_2.EVO";
  Desk::click(desk->find<QToolButton>("bbEVO"));
  QCOMPARE(desk->prompts.dialogs.size(), 1u);
  const FileDialog& shown = desk->prompts.dialogs.back();
  QCOMPARE(shown.title, "Choose the EVO file to demux");
  QCOMPARE(shown.initialDir, "/media/disc/HVDVD_TS/");
  QCOMPARE(text("eEVOfile"), "/media/disc/HVDVD_TS/FEATURE_2.EVO");

  desk->prompts.choice.clear();  // cancelled: the dialog's previous file name stands
  Desk::click(desk->find<QToolButton>("bbEVO"));
  QCOMPARE(text("eEVOfile"), "/media/disc/HVDVD_TS/FEATURE_2.EVO");

  Desk::click(desk->find<QToolButton>("bbXPL"));  // preset by the disc folder, cancelled
  QCOMPARE(desk->prompts.dialogs.back().initialDir, "/media/disc/ADV_OBJ/");
  QCOMPARE(text("eXPLfile"), "VPLST000.XPL");
  QVERIFY(enabled("bReadXPL"));
}

void FileChoiceTest::dialogFiltersInQtForm() {
  const Window records;
  QCOMPARE(app::qtFilter(records.odEVOfile.filter), "EVO files (*.EVO *.evo)");
  QCOMPARE(app::qtFilter(records.odXPL.filter), "XPL (VPLST000.XPL vplst000.xpl)");
  QCOMPARE(app::qtSuffix(records.odEVOfile.defaultExt), "EVO");
  QCOMPARE(app::qtSuffix(records.odXPL.defaultExt), "xpl");
}

void FileChoiceTest::aPathOnTheCommandLineIsTakenAtTheFirstActivation() {
  Desk fresh;
  fresh.fMain.openOnStart("/media/disc/HVDVD_TS/FEATURE_1.EVO");
  QCOMPARE(fresh.fMain.findChild<QLineEdit*>("eEVOfile")->text(), "");
  fresh.showActive();
  QCOMPARE(fresh.fMain.findChild<QLineEdit*>("eEVOfile")->text(),
           "/media/disc/HVDVD_TS/FEATURE_1.EVO");
  QCOMPARE(fresh.fMain.findChild<QLineEdit*>("eXPLfile")->text(),
           "/media/disc/ADV_OBJ/VPLST000.XPL");

  fresh.drop(&fresh.fMain, {"/other/X.EVO"});
  fresh.returnFromAnotherProgram();  // taken once: later the operator's choice stands
  QCOMPARE(fresh.fMain.findChild<QLineEdit*>("eEVOfile")->text(), "/other/X.EVO");
}

void FileChoiceTest::aFolderNamedInAnotherEncodingOpens() {
  const TempDir disc;
  const std::string folder = disc.file("lat\xe9/");  // Latin-1 e acute: not UTF-8
  std::filesystem::create_directories(folder + "HVDVD_TS");
  const std::string evo = folder + "HVDVD_TS/FEATURE_1.EVO";
  writeFile(evo, std::string(2048, '\0'));
  const QUrl dropped = app::fileUrl(evo);
  QVERIFY(dropped.toEncoded().contains("lat%E9/HVDVD_TS"));
  QCOMPARE(app::localPath(dropped), evo);  // the dialogs' way back

  QVERIFY(desk->dropUrls(&desk->fMain, {dropped}));
  QCOMPARE(desk->s.fMain.eEVOfile.text, evo);
  QCOMPARE(desk->s.fMain.eXPLfile.text, folder + "ADV_OBJ/VPLST000.XPL");
  Desk::click(desk->find<QPushButton>("bCheck"));
  QCOMPARE(desk->prompts.errors, QStringList());
  QVERIFY(desk->find<QPlainTextEdit>("mMessage")->toPlainText().endsWith("Done."));
}

void FileChoiceTest::aPathTypedOrPastedIsTakenAsADropWhenConfirmed() {
  QStringList afterEvo;
  QStringList afterBoth;
  {
    Desk dropped;
    dropped.showActive();
    dropped.drop(&dropped.fMain, {"/media/disc/HVDVD_TS/FEATURE_1.EVO"});
    afterEvo = choiceState(dropped.s);
    dropped.drop(&dropped.fMain, {"/media/copy 2/ADV_OBJ/VPLST000.XPL"});
    afterBoth = choiceState(dropped.s);
  }
  desk->fMain.activateWindow();
  QApplication::processEvents();

  auto* evoEdit = desk->find<QLineEdit>("eEVOfile");
  auto* xplEdit = desk->find<QLineEdit>("eXPLfile");
  typeInto(evoEdit, " /media/disc/HVDVD_TS/FEATURE_1.EVO");
  QCOMPARE(choiceState(desk->s), afterEvo);
  // A file copied in a file manager pastes as its URL; leaving the field confirms it too.
  QApplication::clipboard()->setText("file:///media/copy%202/ADV_OBJ/VPLST000.XPL\n");
  xplEdit->setFocus();
  xplEdit->selectAll();
  QTest::keyClick(xplEdit, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(xplEdit, Qt::Key_Tab);
  QCOMPARE(choiceState(desk->s), afterBoth);
  QCOMPARE(xplEdit->text(), "/media/copy 2/ADV_OBJ/VPLST000.XPL");

  // Passing through without typing keeps the playlist chosen apart from the EVO file.
  evoEdit->setFocus();
  QTest::keyClick(evoEdit, Qt::Key_Tab);
  QCOMPARE(choiceState(desk->s), afterBoth);
  // A path a drop would ignore gives way to the choice made before.
  typeInto(evoEdit, "/media/disc/notes.txt");
  QCOMPARE(evoEdit->text(), "/media/disc/HVDVD_TS/FEATURE_1.EVO");
  QCOMPARE(choiceState(desk->s), afterBoth);
  typeInto(evoEdit, "~/films/B.evo", Qt::Key_Enter);
  QCOMPARE(evoEdit->text(), QDir::homePath() + "/films/B.evo");
}

}  // namespace tessaly::testing

QTEST_MAIN(tessaly::testing::FileChoiceTest)
#include "file_choice_test.moc"
