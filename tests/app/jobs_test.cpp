// The three jobs run from the window: Read EVO and Demux on a generated file, Cancel
// during a job, the window locked while a job runs, and an error shown in the message
// box with the window still working afterwards.
#include <sys/stat.h>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/status_panels.h"
#include "desk.h"
#include "playlist/sample_playlists.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

// A program stream with VC-1 video 0 and DD+ audio 0 in `pairs` pack pairs (4 KiB
// each); returns the bytes a demux must write for the two slots.
std::map<int, std::vector<std::uint8_t>> writeEvo(const std::string& path, int pairs) {
  tools::FileSink sink(path);
  tools::PsWriter writer(sink, {.seed = 11});
  writer.navPack();
  for (int n = 0; n < pairs; ++n) {
    writer.pack(Stream::vc1(0));
    writer.pack(Stream::ddPlus(0));
  }
  sink.close();
  return {{1, writer.expected(1).bytes}, {17, writer.expected(17).bytes}};
}

QList<QCheckBox*> streamBoxes(const Desk& desk) {
  return desk.fMain.findChildren<QCheckBox*>(QRegularExpression("^cb(Video|Audio|Sub)"));
}

QStringList logLines(const Desk& desk) {
  return desk.find<QPlainTextEdit>("mMessage")->toPlainText().split('\n');
}

// A script named mkvmerge first in PATH for the scope's life.
class FakeMkvmerge {
 public:
  explicit FakeMkvmerge(const std::string& script) : path_(std::getenv("PATH")) {
    writeFile(bin_.file("mkvmerge"), script);
    ::chmod(bin_.file("mkvmerge").c_str(), 0755);
    ::setenv("PATH", (bin_.path() + ":" + path_).c_str(), 1);
  }
  ~FakeMkvmerge() { ::setenv("PATH", path_.c_str(), 1); }
  FakeMkvmerge(const FakeMkvmerge&) = delete;
  FakeMkvmerge& operator=(const FakeMkvmerge&) = delete;

 private:
  const TempDir bin_;
  const std::string path_;
};

}  // namespace

class JobsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void cleanup() { desk.reset(); }

  void readEvoThenDemuxFromTheWindow();
  void cancelDuringADemuxAsksAndOnlyYesStops();
  void cancelOrCloseDuringAScanStopsWithoutAQuestion();
  void theWindowIsLockedWhileAJobRuns();
  void aJobStartedFromTheKeyboardKeepsTheFocusOnItsButton();
  void closingDuringADemuxAsksAsCancelDoes();
  void anErrorIsShownAndTheWindowKeepsWorking();
  void readXplFillsTheTreeTheMemoAndTheBoxes();
  void theMatroskaBoxGoesOnToMkvmergeWhichCancelStops();
  void aFailedMatroskaStepLeavesDemuxReady();
  void aMissingMkvmergeIsSaidBeforeTheDemuxReads();
  void tooLittleFreeSpaceAsksBeforeTheDemuxReads();

 private:
  // Clicks Cancel at every breath of the job in which it is enabled.
  void clickCancelWhileRunning();
  std::unique_ptr<Desk> desk;
  std::unique_ptr<TempDir> disc;
  std::string evo;
};

void JobsTest::init() {
  desk = std::make_unique<Desk>();
  disc = std::make_unique<TempDir>();
  std::filesystem::create_directories(disc->file("HVDVD_TS"));
  evo = disc->file("HVDVD_TS/FEATURE_1.EVO");
  desk->showActive();
  desk->find<QLineEdit>("eWorkdir")->setText(QString::fromStdString(disc->path()));
}

void JobsTest::clickCancelWhileRunning() {
  auto* cancel = desk->find<QPushButton>("bCancel");
  desk->app.host.onMessages = [cancel] {
    if (cancel->isEnabled()) Desk::click(cancel);
  };
}

void JobsTest::readEvoThenDemuxFromTheWindow() {
  const auto expected = writeEvo(evo, 300);  // 1.2 MB
  QVERIFY(desk->drop(&desk->fMain, {QString::fromStdString(evo)}));
  Desk::click(desk->find<QPushButton>("bCheck"));

  QCOMPARE(logLines(*desk),
           (QStringList{"Opening file FEATURE_1.EVO", "File size: 1 Mbytes.",
                        "It contains 1 video stream and 1 audio stream.",
                        "VC-1 video stream 0 found!", "DD+ audio stream 0 found!", "Done."}));
  auto* video = desk->find<QCheckBox>("cbVideo0");
  auto* audio = desk->find<QCheckBox>("cbAudio00");
  QCOMPARE(video->text(), "VC-1.stream.0");
  QCOMPARE(audio->text(), "DD+.stream.00");
  QVERIFY(video->isChecked() && video->isEnabled() && audio->isChecked() && audio->isEnabled());
  QCOMPARE(desk->find<QCheckBox>("cbVideo1")->text(), "No video stream");
  // A found stream's tooltip tells what the scan found (the writer's clock puts each pack
  // 3,063 ticks after the one before); a box without one keeps its hint.
  QCOMPARE(audio->toolTip(), "Codec: DD+\nIds: 0xC0\nDelay: 34 ms\nLanguage: unknown");
  QCOMPARE(desk->find<QCheckBox>("cbSub01")->toolTip(), "Check the desired subpicture streams");
  QVERIFY(desk->find<QPushButton>("bCheck")->isEnabled());
  QVERIFY(desk->find<QPushButton>("bDemux")->isEnabled());
  auto* bar = desk->find<app::StatusPanels>("StatusBar");
  QCOMPARE(bar->panel(0)->text(), " Ready");
  QCOMPARE(bar->panel(1)->text(), " ");

  Desk::click(desk->find<QPushButton>("bDemux"));
  const QString out = QString::fromStdString(disc->path());
  QCOMPARE(logLines(*desk).mid(6),
           (QStringList{"Opening file FEATURE_1.EVO", "File size: 1 Mbytes.",
                        "Creating " + out + "FEATURE_1.VC-1.stream.0.mpv",
                        "Creating " + out + "FEATURE_1.DD+.stream.00.mpa",
                        "It contains 1 video stream and 1 audio stream.", "Done."}));
  QCOMPARE(readFile(disc->file("FEATURE_1.VC-1.stream.0.mpv")), expected.at(1));
  QCOMPARE(readFile(disc->file("FEATURE_1.DD+.stream.00.mpa")), expected.at(17));
  QVERIFY(desk->find<QPushButton>("bDemux")->isEnabled());
  QVERIFY(desk->prompts.errors.isEmpty());
}

void JobsTest::cancelDuringADemuxAsksAndOnlyYesStops() {
  const auto expected = writeEvo(evo, 3200);  // 12.5 MiB: three breaths of the engine
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});
  Desk::click(desk->find<QPushButton>("bCheck"));
  desk->prompts.answers = {false, true};
  clickCancelWhileRunning();
  Desk::click(desk->find<QPushButton>("bDemux"));

  QCOMPARE(desk->prompts.questions,
           QStringList(2, "Are you sure to stop demuxing?"));  // No at 4 MiB, Yes at 8
  const auto written = readFile(disc->file("FEATURE_1.DD+.stream.00.mpa"));
  QVERIFY(!written.empty());
  QVERIFY(written.size() < expected.at(17).size());
  QVERIFY(std::equal(written.begin(), written.end(), expected.at(17).begin()));
  QCOMPARE(logLines(*desk).last(), "Done.");
  QVERIFY(!desk->find<QPushButton>("bCancel")->isEnabled());
  QVERIFY(desk->find<QPushButton>("bDemux")->isEnabled());
}

void JobsTest::cancelOrCloseDuringAScanStopsWithoutAQuestion() {
  writeEvo(evo, 3200);
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});
  for (const bool closing : {false, true}) {
    int breaths = 0;
    desk->app.host.onMessages = [&] {
      ++breaths;
      if (closing) desk->fMain.close();
      if (!closing) Desk::click(desk->find<QPushButton>("bCancel"));
    };
    Desk::click(desk->find<QPushButton>("bCheck"));
    QCOMPARE(breaths, 1);
    QVERIFY(desk->prompts.questions.isEmpty());
    QCOMPARE(logLines(*desk).last(), "Done.");
    QCOMPARE(desk->find<QCheckBox>("cbAudio00")->text(), "DD+.stream.00");
    QCOMPARE(desk->fMain.isVisible(), !closing);
  }
}

void JobsTest::theWindowIsLockedWhileAJobRuns() {
  writeEvo(evo, 1100);  // over 4 MiB: one breath
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});
  Desk::click(desk->find<QPushButton>("bCheck"));
  const char* triggers[] = {"bCheck", "bReadXPL", "bDemux", "bbEVO", "bbXPL"};
  QStringList enabledDuringJob;
  bool dropTaken = true;
  desk->app.host.onMessages = [&] {
    for (const char* name : triggers) {
      if (desk->find<QWidget>(name)->isEnabled()) enabledDuringJob << name;
    }
    for (QCheckBox* box : streamBoxes(*desk)) {
      if (box->isEnabled()) enabledDuringJob << box->objectName();
    }
    if (desk->find<QPushButton>("bCancel")->isEnabled()) enabledDuringJob << "bCancel";
    for (const char* name : {"eEVOfile", "eXPLfile"}) {  // a path typed now would be lost
      if (!desk->find<QLineEdit>(name)->isReadOnly()) enabledDuringJob << name;
    }
    dropTaken = desk->drop(&desk->fMain, {disc->file("OTHER.EVO").c_str()});
  };
  Desk::click(desk->find<QPushButton>("bDemux"));

  QCOMPARE(enabledDuringJob, QStringList{"bCancel"});
  QVERIFY(!dropTaken);
  QCOMPARE(desk->find<QLineEdit>("eEVOfile")->text(), QString::fromStdString(evo));
  QCOMPARE(streamBoxes(*desk).size(), 40);
  QStringList enabledAfterJob;  // each shows its record again
  for (QCheckBox* box : streamBoxes(*desk)) {
    if (box->isEnabled()) enabledAfterJob << box->objectName();
  }
  enabledAfterJob.sort();
  QCOMPARE(enabledAfterJob, (QStringList{"cbAudio00", "cbVideo0"}));
  for (const char* name : triggers) QVERIFY2(desk->find<QWidget>(name)->isEnabled(), name);
  QVERIFY(!desk->find<QLineEdit>("eEVOfile")->isReadOnly());
}

void JobsTest::aJobStartedFromTheKeyboardKeepsTheFocusOnItsButton() {
  writeEvo(evo, 2200);  // over 8 MiB: two breaths
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});
  QStringList focusDuringJob;
  desk->app.host.onMessages = [&] { focusDuringJob << QApplication::focusWidget()->objectName(); };
  auto* read = desk->find<QPushButton>("bCheck");
  read->setFocus();
  QTest::keyClick(read, Qt::Key_Space);
  QCOMPARE(focusDuringJob, QStringList(2, "fMain"));  // no control entered
  QCOMPARE(QApplication::focusWidget(), read);

  // Cancel clicked and answered No: the box's close activates the window, and the end
  // of the job disables Cancel while it has the focus.
  desk->app.host.onMessages = [&] {
    if (desk->prompts.questions.isEmpty()) Desk::click(desk->find<QPushButton>("bCancel"));
  };
  QTest::keyClick(desk->find<QPushButton>("bDemux"), Qt::Key_Space);
  QCOMPARE(desk->prompts.questions.size(), 1);
  QCOMPARE(logLines(*desk).last(), "Done.");
  QCOMPARE(QApplication::focusWidget(), &desk->fMain);
  QVERIFY(!desk->find<QLineEdit>("eEVOfile")->hasSelectedText());
  QVERIFY(!desk->find<QLineEdit>("eXPLfile")->hasSelectedText());
}

void JobsTest::closingDuringADemuxAsksAsCancelDoes() {
  const auto expected = writeEvo(evo, 3200);  // three breaths of the engine
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});
  Desk::click(desk->find<QPushButton>("bCheck"));
  desk->app.host.onMessages = [this] {
    if (desk->fMain.isVisible()) desk->fMain.close();
  };
  Desk::click(desk->find<QPushButton>("bDemux"));  // No at every breath
  QCOMPARE(desk->prompts.questions, QStringList(3, "Are you sure to stop demuxing?"));
  QVERIFY(desk->fMain.isVisible());
  QVERIFY(readFile(disc->file("FEATURE_1.DD+.stream.00.mpa")) == expected.at(17));
  QVERIFY(!std::filesystem::exists(desk->home.keyFile()));  // not closed: nothing saved

  desk->prompts.answers = {false, true};
  Desk::click(desk->find<QPushButton>("bDemux"));
  QCOMPARE(desk->prompts.questions.size(), 5);
  QVERIFY(!desk->fMain.isVisible());
  QCOMPARE(logLines(*desk).last(), "Done.");
  const auto written = readFile(disc->file("FEATURE_1.DD+.stream.00.mpa"));
  QVERIFY(!written.empty());
  QVERIFY(written.size() < expected.at(17).size());
  QVERIFY(std::filesystem::exists(desk->home.keyFile()));
}

void JobsTest::anErrorIsShownAndTheWindowKeepsWorking() {
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});  // not written yet
  Desk::click(desk->find<QPushButton>("bCheck"));
  QCOMPARE(desk->prompts.errors, QStringList{"Cannot open file \"" + QString::fromStdString(evo) +
                                             "\". No such file or directory"});
  QCOMPARE(logLines(*desk).last(), "Opening file FEATURE_1.EVO");  // no "Done."
  QCOMPARE(desk->find<app::StatusPanels>("StatusBar")->panel(0)->text(), " Opening");
  QVERIFY(!desk->find<QPushButton>("bCheck")->isEnabled());
  QVERIFY(desk->fMain.isVisible());

  writeEvo(evo, 10);
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});
  Desk::click(desk->find<QPushButton>("bCheck"));
  QCOMPARE(logLines(*desk).last(), "Done.");
  QCOMPARE(desk->prompts.errors.size(), 1);
}

void JobsTest::readXplFillsTheTreeTheMemoAndTheBoxes() {
  std::filesystem::create_directories(disc->file("ADV_OBJ"));
  writeFile(disc->file("ADV_OBJ/VPLST000.XPL"), discPlaylist());
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});
  Desk::click(desk->find<QPushButton>("bReadXPL"));

  QVERIFY(desk->prompts.errors.isEmpty());
  const Window& r = desk->s.fMain;
  auto* tree = desk->find<QTreeWidget>("tvXPL");
  QCOMPARE(tree->topLevelItemCount(), static_cast<int>(r.tvXPL.nodes.size()));
  QCOMPARE(tree->topLevelItem(5)->text(0), "Titles");
  QCOMPARE(tree->topLevelItem(5)->childCount(), 2);
  const QTreeWidgetItem* info = tree->topLevelItem(0);
  QCOMPARE(info->text(0), QString::fromStdString(r.tvXPL.nodes[0].text));
  QCOMPARE(info->child(0)->text(0), "Title: Sample Disc");
  QVERIFY(info->isExpanded());
  QStringList memo;
  for (const std::string& line : r.mXPL.lines) memo << QString::fromStdString(line);
  QCOMPARE(desk->find<QPlainTextEdit>("mXPL")->toPlainText(), memo.join('\n'));
  QVERIFY(memo.first().contains("Main"));
  auto* audio = desk->find<QCheckBox>("cbAudio00");
  QCOMPARE(audio->text(), "DD+.6ch.stream.00.English");
  QVERIFY(audio->isChecked());
  // Captions cut off by the box's width are read whole in their tooltips.
  desk->s.fMain.cbSub[1].caption = "SP.stream.01.French (commentary by the director)";
  desk->s.fMain.cbVideo[0].hint = "a hint";
  desk->fMain.mirror();
  QCOMPARE(desk->find<QCheckBox>("cbSub01")->toolTip(),
           "SP.stream.01.French (commentary by the director)");
  QCOMPARE(desk->find<QCheckBox>("cbSub02")->toolTip(), "Check the desired subpicture streams");
  QCOMPARE(desk->find<QCheckBox>("cbVideo0")->toolTip(), "a hint");
  // A label that Qt would lay out as rich text loaded the image it names (a description
  // "&lt;img src='/dev/zero'&gt;" grew memory by 200 MB/s while hovering): it shows as text.
  const QString hostile = "<img src='/dev/zero' width=20000> SP.stream.01 <b>x</b>";
  desk->s.fMain.cbSub[1].caption = hostile.toStdString();
  desk->fMain.mirror();
  QTextDocument shown;
  shown.setHtml(desk->find<QCheckBox>("cbSub01")->toolTip());
  QCOMPARE(shown.toPlainText(), hostile);
  QVERIFY(desk->find<QPushButton>("bDemux")->isEnabled());
}

// Free space (faked) below what the demux writes: the question names the folder and both
// figures, the film counting as much again. No leaves nothing made and "Demux" ready; Yes
// demuxes. The film's folder must take files before anything is asked.
void JobsTest::tooLittleFreeSpaceAsksBeforeTheDemuxReads() {
  const FakeMkvmerge mkvmerge("#!/bin/sh\nexit 2\n");
  writeEvo(evo, 300);  // 1,230,848 bytes
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});
  Desk::click(desk->find<QPushButton>("bCheck"));
  const QStringList before = logLines(*desk);
  std::vector<std::string> asked;
  desk->s.FreeSpaceOf = [&asked](const std::string& folder) {
    asked.push_back(folder);
    return std::optional<std::uint64_t>(500'000);
  };
  auto* workdir = desk->find<QLineEdit>("eWorkdir");
  auto* demux = desk->find<QPushButton>("bDemux");
  desk->find<QCheckBox>("cbMatroska")->click();
  workdir->setText(QString::fromStdString(disc->file("missing")));
  Desk::click(demux);
  QCOMPARE(desk->prompts.errors, QStringList{"Cannot write into folder \"" +
                                             QString::fromStdString(disc->file("missing")) +
                                             "\". No such file or directory"});
  QVERIFY(desk->prompts.questions.isEmpty());

  workdir->setText(QString::fromStdString(disc->path()));
  Desk::click(demux);
  const QString folder = QString::fromStdString(disc->path()).chopped(1);
  QCOMPARE(desk->prompts.questions, QStringList{"Not enough free space in \"" + folder +
                                                "\": 500.0 kB free, 2.5 MB needed. Demux anyway?"});
  QCOMPARE(logLines(*desk), before);
  QCOMPARE(std::distance(std::filesystem::directory_iterator(disc->path()), {}), 1);
  QVERIFY(demux->isEnabled());
  QVERIFY(!desk->find<QPushButton>("bCancel")->isEnabled());
  QCOMPARE(asked, std::vector<std::string>{folder.toStdString()});

  desk->find<QCheckBox>("cbMatroska")->click();
  desk->prompts.answers = {true};
  Desk::click(demux);
  QCOMPARE(desk->prompts.questions.last(), "Not enough free space in \"" + folder +
                                               "\": 500.0 kB free, 1.2 MB needed. Demux anyway?");
  QVERIFY(std::filesystem::exists(disc->file("FEATURE_1.DD+.stream.00.mpa")));
  QCOMPARE(logLines(*desk).last(), "Done.");
  QCOMPARE(desk->prompts.errors.size(), 1);
}

}  // namespace tessaly::testing

namespace tessaly::testing {

// With the Options page's Matroska box ticked, "Demux" goes on to mkvmerge (here a script
// in PATH that shows its progress and waits) after writing the report, which Cancel stops
// after its question; the incomplete file is removed, the streams and the report stay.
void JobsTest::theMatroskaBoxGoesOnToMkvmergeWhichCancelStops() {
  std::optional<FakeMkvmerge> mkvmerge(std::in_place,
                                       "#!/bin/sh\nwhile [ $# -gt 1 ] && [ \"$1\" != -o ]; do "
                                       "shift; done\n: > \"$2\"\necho '#GUI#progress "
                                       "7%'\nexec sleep 30\n");  // the film after -o
  writeEvo(evo, 300);
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});
  Desk::click(desk->find<QPushButton>("bCheck"));
  desk->find<QCheckBox>("cbMatroska")->click();
  desk->prompts.answers = {true};
  QStringList status;
  auto* cancel = desk->find<QPushButton>("bCancel");
  auto* bar = desk->find<app::StatusPanels>("StatusBar");
  desk->app.host.onMessages = [&] {
    status << bar->panel(0)->text() + "|" + bar->panel(1)->text();
    // Once: a breath may come between Yes and the stop, which a second click would ask again.
    if (cancel->isEnabled() && status.last().endsWith("%") && desk->prompts.questions.isEmpty()) {
      Desk::click(cancel);
    }
  };
  bool begun = false;  // the film mkvmerge had begun when it was stopped
  desk->app.host.onMessages = [&, record = desk->app.host.onMessages] {
    begun = begun || std::filesystem::exists(disc->file("FEATURE_1.mkv"));
    record();
  };
  Desk::click(desk->find<QPushButton>("bDemux"));
  mkvmerge.reset();

  QVERIFY(begun);
  const QString mkv = QString::fromStdString(disc->file("FEATURE_1.mkv"));
  QCOMPARE(desk->prompts.questions, QStringList{"Are you sure to stop demuxing?"});
  QCOMPARE(status.last(), " Muxing| Muxing FEATURE_1.mkv 7%");
  const QString report = QString::fromStdString(disc->file("FEATURE_1.report.json"));
  QVERIFY(logLines(*desk).contains("Writing " + report));
  QVERIFY(std::filesystem::file_size(report.toStdString()) > 0);
  QCOMPARE(logLines(*desk).mid(logLines(*desk).size() - 3),
           (QStringList{"Running mkvmerge for " + mkv, "Stopped: removed the incomplete " + mkv,
                        "Done."}));
  QVERIFY(!std::filesystem::exists(mkv.toStdString()));
  QVERIFY(std::filesystem::exists(disc->file("FEATURE_1.DD+.stream.00.mpa")));
  QVERIFY(!cancel->isEnabled());
  QVERIFY(desk->prompts.errors.isEmpty());
}

// mkvmerge failing after a whole demux: its error is shown, the streams stay, and the
// window is ready for the next run ("Demux" enabled, Cancel not) instead of locked until
// it is closed.
void JobsTest::aFailedMatroskaStepLeavesDemuxReady() {
  const FakeMkvmerge mkvmerge("#!/bin/sh\necho 'Error: no space left'\nexit 2\n");
  writeEvo(evo, 300);
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});
  Desk::click(desk->find<QPushButton>("bCheck"));
  desk->find<QCheckBox>("cbMatroska")->click();
  Desk::click(desk->find<QPushButton>("bDemux"));

  QCOMPARE(desk->prompts.errors.size(), 1);
  QVERIFY(std::filesystem::exists(disc->file("FEATURE_1.DD+.stream.00.mpa")));
  QVERIFY(desk->find<QPushButton>("bDemux")->isEnabled());
  QVERIFY(!desk->find<QPushButton>("bCancel")->isEnabled());
}

// With the box ticked and no mkvmerge in PATH, the run is refused before the EVO is read
// (it was found out after the whole demux), nothing is made, and "Demux" stays ready.
void JobsTest::aMissingMkvmergeIsSaidBeforeTheDemuxReads() {
  writeEvo(evo, 300);
  desk->drop(&desk->fMain, {QString::fromStdString(evo)});
  Desk::click(desk->find<QPushButton>("bCheck"));
  desk->find<QCheckBox>("cbMatroska")->click();
  const QStringList before = logLines(*desk);
  const TempDir nothing;
  const std::string path = std::getenv("PATH");
  ::setenv("PATH", nothing.path().c_str(), 1);
  Desk::click(desk->find<QPushButton>("bDemux"));
  ::setenv("PATH", path.c_str(), 1);

  QCOMPARE(desk->prompts.errors,
           QStringList{"mkvmerge was not found; install MKVToolNix (Debian package mkvtoolnix) "
                       "or untick \"Make a Matroska file (needs mkvmerge)\""});
  QCOMPARE(logLines(*desk), before);
  QVERIFY(!std::filesystem::exists(disc->file("FEATURE_1.DD+.stream.00.mpa")));
  QVERIFY(desk->find<QPushButton>("bDemux")->isEnabled());
  QVERIFY(!desk->find<QPushButton>("bCancel")->isEnabled());
}

}  // namespace tessaly::testing

QTEST_MAIN(tessaly::testing::JobsTest)
#include "jobs_test.moc"
