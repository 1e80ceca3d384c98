// The window program's command line, run as a user runs it, on a system where opening a
// window would fail (no display): --help, --version and usage errors answer without one.
#include <QProcess>
#include <QTest>
#include <tuple>

namespace tessaly::testing {

class CommandLineTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void answersWithoutADisplay();
  void qtOptionsReachQt();

 private:
  // Runs the program without a display; the exit status, standard output and error.
  static std::tuple<int, QString, QString> run(const QStringList& arguments);
};

std::tuple<int, QString, QString> CommandLineTest::run(const QStringList& arguments) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  environment.insert("QT_QPA_PLATFORM", "xcb");  // a window would need the X display
  program.setProcessEnvironment(environment);
  program.start(TESSALY_WINDOW_PROGRAM, arguments);
  if (!program.waitForFinished(20000)) program.kill();
  program.waitForFinished();
  const int status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
  return {status, program.readAllStandardOutput(), program.readAllStandardError()};
}

void CommandLineTest::answersWithoutADisplay() {
  const auto [helped, usage, helpErrors] = run({"--help"});
  QCOMPARE(helped, 0);
  QVERIFY2(usage.startsWith("Usage: tessaly [FILE.EVO | VPLST000.XPL]\n"), qPrintable(usage));
  QVERIFY(usage.contains("--version"));
  QCOMPARE(helpErrors, "");
  QCOMPARE(std::get<1>(run({"-h", "film.EVO"})), usage);

  const auto [versioned, version, versionErrors] = run({"--version"});
  QCOMPARE(versioned, 0);
  QVERIFY(version.startsWith("tessaly "));

  const std::pair<QStringList, QString> mistakes[] = {
      {{"--bogus", "film.EVO"}, "unknown option '--bogus'"},
      {{"film.EVO", "-x"}, "unknown option '-x'"},
      {{"-style", "fusion", "--full"}, "unknown option '--full'"},  // Qt's value passed over
      {{"-style"}, "option '-style' needs a value"},
  };
  for (const auto& [arguments, error] : mistakes) {
    const auto [status, out, errors] = run(arguments);
    QCOMPARE(status, 2);
    QCOMPARE(out, "");
    QCOMPARE(errors, "tessaly: " + error +
                         "; usage: tessaly [--help | --version | FILE.EVO | VPLST000.XPL]\n");
  }
}

// Qt takes its own options out of the command line: a platform named there is the one Qt
// tries to load.
void CommandLineTest::qtOptionsReachQt() {
  const auto [status, out, errors] = run({"-platform", "tessaly-none", "film.EVO"});
  QVERIFY(status != 0);
  QVERIFY2(errors.contains("\"tessaly-none\""), qPrintable(errors));
}

}  // namespace tessaly::testing

QTEST_GUILESS_MAIN(tessaly::testing::CommandLineTest)
#include "command_line_test.moc"
