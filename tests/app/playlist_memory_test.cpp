// The window's memory over "Read XPL" of playlists at the size limit, each shaped to make
// one part of the result grow: the peak stays under 256 MiB. The measured peaks are
// printed (the README quotes them).
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "desk.h"
#include "support/hostile_playlists.h"

namespace tessaly::testing {
namespace {

// The process's peak resident memory since the last reset, in KiB (VmHWM).
long peakKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace

class PlaylistMemoryTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void hostilePlaylistsStayUnder256MiB();
};

void PlaylistMemoryTest::hostilePlaylistsStayUnder256MiB() {
#if defined(__SANITIZE_ADDRESS__)
  QSKIP("AddressSanitizer's own memory would be measured");
#endif
  TempDir dir;
  const std::vector<std::string> playlists = writeHostilePlaylists(dir);
  Desk desk;
  desk.showActive();
  desk.drop(&desk.fMain, {QString::fromStdString(dir.file("FEATURE_1.EVO"))});  // the title's
  for (const std::string& path : playlists) {
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak from here on
    desk.drop(&desk.fMain, {QString::fromStdString(path)});
    Desk::click(desk.find<QPushButton>("bReadXPL"));
    QCoreApplication::processEvents();
    QVERIFY2(desk.prompts.errors.isEmpty(), qPrintable(desk.prompts.errors.join('\n')));
    const long peak = peakKiB();
    std::printf("window, Read XPL of %s: peak RSS %.1f MiB\n",
                std::filesystem::path(path).filename().c_str(), static_cast<double>(peak) / 1024);
    QVERIFY(peak > 0 && peak < 256 * 1024);
  }
}

}  // namespace tessaly::testing

QTEST_MAIN(tessaly::testing::PlaylistMemoryTest)
#include "playlist_memory_test.moc"
