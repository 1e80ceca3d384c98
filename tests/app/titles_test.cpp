// The titles page on the sample disc: listed after "Read XPL", on a dropped image the same,
// "Demux title" making what `tessaly-cli title` makes (its tracks byte for byte, its film
// with every track), the window locked while it runs and Cancel stopping it, and the window
// working again after a run that fails.
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "desk.h"
#include "support/temp_dir.h"
#include "tools/udf_image.h"

namespace tessaly::testing {
namespace {

namespace fs = std::filesystem;

// Runs `program args` to its end; false, with what it said on standard error, when it failed.
bool ran(QProcess& run, const QString& program, const QStringList& args) {
  run.start(program, args);
  if (run.waitForFinished(120000) && run.exitStatus() == QProcess::NormalExit &&
      run.exitCode() == 0) {
    return true;
  }
  qWarning() << program << args << run.readAllStandardError();
  return false;
}

// What `program args` printed; empty when it failed.
QByteArray outputOf(const QString& program, const QStringList& args) {
  QProcess run;
  return ran(run, program, args) ? run.readAllStandardOutput() : QByteArray();
}

// Every regular file in `folder` by name, with its bytes.
std::map<std::string, std::vector<std::uint8_t>> filesIn(const std::string& folder) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = readFile(entry.path());
  }
  return files;
}

// The rows of the titles page as text, a row a line of its columns.
QStringList shownRows(const QTreeWidget& list) {
  QStringList rows;
  for (int n = 0; n < list.topLevelItemCount(); ++n) {
    QStringList columns;
    for (int c = 0; c < list.columnCount(); ++c) columns << list.topLevelItem(n)->text(c);
    rows << columns.join(" | ");
  }
  return rows;
}

// Each track of a Matroska file as `mkvmerge -J` describes it: type, codec, language, name.
QStringList filmTracks(const std::string& mkv) {
  QStringList tracks;
  const QJsonDocument json =
      QJsonDocument::fromJson(outputOf("mkvmerge", {"-J", QString::fromStdString(mkv)}));
  for (const QJsonValue& track : json["tracks"].toArray()) {
    const QJsonObject properties = track["properties"].toObject();
    tracks << track["type"].toString() + " " + track["codec"].toString() + " " +
                  properties["language"].toString() + " " + properties["track_name"].toString();
  }
  return tracks;
}

}  // namespace

class TitlesTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase();
  void init();
  void cleanup() { desk.reset(); }

  void readXplListsEveryTitleWithTheMainFeatureSelected();
  void demuxTitleMakesTheTracksOfTheCommandLineBesideTheDisc();
  void theMatroskaBoxMakesTheFilmOfTheCommandLine();
  void aFailedRunShowsTheErrorAndUnlocksTheWindow();
  void cancelStopsTheTitleWhichLocksTheWindowWhileItRuns();
  void aDroppedImageListsTheSameTitlesAndDemuxesOrIsRefusedWithoutUdf();

 private:
  QTreeWidget* titles() const { return desk->find<QTreeWidget>("lvTitles"); }
  QPushButton* demuxTitle() const { return desk->find<QPushButton>("bDemuxTitle"); }
  // "Read XPL" on the sample disc's playlist.
  void readSamplePlaylist();
  // `tessaly-cli title DISC --out DIR [ARGS]`: the main feature's tracks in DIR.
  void cliTitle(const std::string& folder, const QStringList& more = {}) const;

  TempDir sample;  // the disc in disc/, its image in sample.iso
  std::unique_ptr<Desk> desk;
  std::string disc = sample.file("disc");
};

void TitlesTest::initTestCase() {
  QProcess run;
  QVERIFY(ran(run, TESSALY_SAMPLE_DISC, {QString::fromStdString(disc)}));
}

void TitlesTest::init() {
  desk = std::make_unique<Desk>();
  desk->showActive();
}

void TitlesTest::readSamplePlaylist() {
  QVERIFY(desk->drop(&desk->fMain, {QString::fromStdString(disc + "/ADV_OBJ/VPLST000.XPL")}));
  Desk::click(desk->find<QPushButton>("bReadXPL"));
  QVERIFY(desk->prompts.errors.isEmpty());
}

void TitlesTest::cliTitle(const std::string& folder, const QStringList& more) const {
  fs::create_directories(folder);
  const QStringList args = QStringList{"title", QString::fromStdString(sample.file("disc")),
                                       "--out", QString::fromStdString(folder)} +
                           more;
  QProcess run;
  QVERIFY(ran(run, TESSALY_CLI, args));
}

void TitlesTest::readXplListsEveryTitleWithTheMainFeatureSelected() {
  readSamplePlaylist();
  // The command line's listing of the same disc: every title of every playlist, in order.
  const QJsonDocument listed = QJsonDocument::fromJson(
      outputOf(TESSALY_CLI, {"disc", QString::fromStdString(disc), "--json"}));
  QStringList expected;
  QString feature;
  for (const QJsonValue& playlist : listed["playlists"].toArray()) {
    for (const QJsonValue& title : playlist["titles"].toArray()) {
      const QString row = playlist["file"].toString() + " | " +
                          QString::number(title["number"].toInt()) + " | " +
                          title["name"].toString();
      expected << row;
      if (title["main"].toBool()) feature = row;
    }
  }
  QVERIFY(expected.size() > 1);
  QVERIFY(!feature.isEmpty());
  QStringList shown;
  for (const QString& row : shownRows(*titles())) shown << row.section(" | ", 0, 2);
  QCOMPARE(shown, expected);

  QCOMPARE(titles()->selectedItems().size(), 1);
  QTreeWidgetItem* chosen = titles()->selectedItems().front();
  QCOMPARE(shownRows(*titles()).at(titles()->indexOfTopLevelItem(chosen)).section(" | ", 0, 2),
           feature);
  QCOMPARE(chosen->text(5), "main feature");
  QVERIFY(chosen->text(4).startsWith("3: ") && chosen->text(4).contains("FEATURE_1.EVO"));
  QVERIFY(chosen->text(3).contains(QRegularExpression("^\\d+:\\d\\d:\\d\\d$")));
  QCOMPARE(desk->find<QLabel>("lDisc")->text(), QString::fromStdString(disc + "/HVDVD_TS"));
  QVERIFY(demuxTitle()->isEnabled());
}

void TitlesTest::demuxTitleMakesTheTracksOfTheCommandLineBesideTheDisc() {
  const TempDir cli;
  cliTitle(cli.path());
  readSamplePlaylist();
  Desk::click(demuxTitle());

  QVERIFY2(desk->prompts.errors.isEmpty(), qPrintable(desk->prompts.errors.join('\n')));
  const auto made = filesIn(sample.path());  // no output folder: beside the disc folder
  QCOMPARE(made.size(), filesIn(cli.path()).size());
  QVERIFY(made == filesIn(cli.path()));
  const QString log = desk->find<QPlainTextEdit>("mMessage")->toPlainText();
  QVERIFY2(log.contains("\nMade " + QString::fromStdString(sample.path()) +
                        "Tessaly The Feature.video.m2v\n"),
           qPrintable(log));
  QVERIFY(log.endsWith("Done."));
  QCOMPARE(desk->find<QTabWidget>("PageControl")->currentIndex(), int{tsStatus});
  for (const auto& [name, bytes] : made) fs::remove(sample.file(name));
}

void TitlesTest::theMatroskaBoxMakesTheFilmOfTheCommandLine() {
  const TempDir out;
  cliTitle(out.file("cli"), {"--mkv", QString::fromStdString(out.file("cli/film.mkv"))});
  readSamplePlaylist();
  desk->find<QCheckBox>("cbMatroska")->setChecked(true);
  desk->find<QLineEdit>("eWorkdir")->setText(QString::fromStdString(out.path()));
  Desk::click(demuxTitle());

  QVERIFY2(desk->prompts.errors.isEmpty(), qPrintable(desk->prompts.errors.join('\n')));
  const QStringList tracks = filmTracks(out.file("Tessaly The Feature.mkv"));
  QVERIFY(tracks.size() > 3);
  QCOMPARE(tracks, filmTracks(out.file("cli/film.mkv")));
}

void TitlesTest::aFailedRunShowsTheErrorAndUnlocksTheWindow() {
  const TempDir out;
  readSamplePlaylist();
  const std::string blocked = out.file("file");
  writeFile(blocked, "not a folder");
  desk->find<QLineEdit>("eWorkdir")->setText(QString::fromStdString(blocked));
  Desk::click(demuxTitle());
  QCOMPARE(desk->prompts.errors,
           QStringList{"Cannot write into folder \"" + QString::fromStdString(blocked) +
                       "\". Not a directory"});

  // Too little free space, and No: the output folder is not made.
  desk->s.FreeSpaceOf = [](const std::string&) { return std::optional<std::uint64_t>(0); };
  const QString folder = QString::fromStdString(out.file("new"));
  desk->find<QLineEdit>("eWorkdir")->setText(folder);
  Desk::click(demuxTitle());
  QCOMPARE(desk->prompts.questions.size(), 1);
  const QString question = desk->prompts.questions.front();
  QVERIFY2(question.startsWith("Not enough free space in \"" + folder + "\": 0 bytes free, ") &&
               question.endsWith(" MB needed. Demux anyway?"),
           qPrintable(question));
  QVERIFY(!fs::exists(out.file("new")));
  QCOMPARE(desk->prompts.errors.size(), 1);
  for (const char* name : {"bDemuxTitle", "bReadXPL"}) {
    QVERIFY2(desk->find<QPushButton>(name)->isEnabled(), name);
  }
  QVERIFY(desk->find<QToolButton>("bbEVO")->isEnabled());
  QVERIFY(!desk->find<QPushButton>("bCancel")->isEnabled());
  QVERIFY(!desk->s.busy);
}

void TitlesTest::cancelStopsTheTitleWhichLocksTheWindowWhileItRuns() {
  const TempDir out;
  readSamplePlaylist();
  desk->find<QLineEdit>("eWorkdir")->setText(QString::fromStdString(out.path()));
  desk->prompts.answers = {true};
  QStringList enabledDuringRun;
  desk->app.host.onMessages = [&] {
    for (const char* name : {"bDemuxTitle", "bReadXPL", "bDemux"}) {
      if (desk->find<QPushButton>(name)->isEnabled()) enabledDuringRun << name;
    }
    if (desk->find<QPushButton>("bCancel")->isEnabled())
      Desk::click(desk->find<QPushButton>("bCancel"));
  };
  Desk::click(demuxTitle());

  QVERIFY2(enabledDuringRun.isEmpty(), qPrintable(enabledDuringRun.join(' ')));
  QCOMPARE(desk->prompts.questions, QStringList{"Are you sure to stop demuxing?"});
  const QString log = desk->find<QPlainTextEdit>("mMessage")->toPlainText();
  QVERIFY2(!log.contains("Opening file FEATURE_2.EVO"), qPrintable(log));  // the next clip
  QVERIFY(log.endsWith("Done."));
  QVERIFY(demuxTitle()->isEnabled());
}

void TitlesTest::aDroppedImageListsTheSameTitlesAndDemuxesOrIsRefusedWithoutUdf() {
  const TempDir images;
  const std::string image = images.file("SAMPLE.ISO");
  tools::writeUdfImage(disc, image);
  readSamplePlaylist();
  const QStringList onDisk = shownRows(*titles());
  const QString featureFiles = titles()->selectedItems().front()->toolTip(0);

  QVERIFY(desk->drop(&desk->fMain, {QString::fromStdString(image)}));
#ifndef TESSALY_WITH_UDF
  // As the command line refuses it, in the message box; the window goes on.
  QCOMPARE(desk->prompts.errors,
           QStringList{"Cannot read disc image \"" + QString::fromStdString(image) +
                       "\". This build of Tessaly reads disc folders only: it was built "
                       "without libudfread, which reads disc images."});
  QCOMPARE(titles()->topLevelItemCount(), 0);
  QVERIFY(desk->find<QPushButton>("bReadXPL")->isEnabled());
#else
  QVERIFY2(desk->prompts.errors.isEmpty(), qPrintable(desk->prompts.errors.join('\n')));
  QCOMPARE(desk->find<QTabWidget>("PageControl")->currentWidget()->objectName(), "tsTitles");
  QCOMPARE(shownRows(*titles()), onDisk);
  const QString inImage = titles()->selectedItems().front()->toolTip(0);
  QCOMPARE(inImage,
           QString(featureFiles)
               .replace(QString::fromStdString(disc), QString::fromStdString(image) + ":"));

  const TempDir cli;
  cliTitle(cli.path());
  Desk::click(demuxTitle());
  QVERIFY2(desk->prompts.errors.isEmpty(), qPrintable(desk->prompts.errors.join('\n')));
  auto made = filesIn(images.path());  // beside the image
  made.erase("SAMPLE.ISO");
  QVERIFY(!made.empty());
  QVERIFY(made == filesIn(cli.path()));
#endif
}

}  // namespace tessaly::testing

QTEST_MAIN(tessaly::testing::TitlesTest)
#include "titles_test.moc"
