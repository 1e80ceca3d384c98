// tessaly-window-bench: "Read XPL" in the window on a playlist with a long title, against
// the same run on the command line (bench/window-xpl runs both).
//   tessaly-window-bench write DIR LINES  writes DIR/ADV_OBJ/VPLST000.XPL, whose title for
//                                          FEATURE_1 holds LINES lines, one audio track each
//   tessaly-window-bench read DIR         opens the window on DIR/HVDVD_TS/FEATURE_1.EVO
//                                          and prints "seconds=S" for "Read XPL"
#include <QApplication>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/prompts.h"
#include "app/windowed_session.h"

namespace {

void writePlaylist(const std::filesystem::path& disc, long lines) {
  std::filesystem::create_directories(disc / "ADV_OBJ");
  std::filesystem::create_directories(disc / "HVDVD_TS");
  std::ofstream xpl(disc / "ADV_OBJ/VPLST000.XPL", std::ios::binary);
  xpl << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Playlist displayName=\"Bench\">\r\n"
         "<MediaAttributeList><VideoAttributeItem index=\"1\" codec=\"VC-1\"/>"
         "<AudioAttributeItem index=\"1\" codec=\"DD+\" channels=\"6\"/></MediaAttributeList>\r\n"
         "<Title displayName=\"Main\" titleDuration=\"01:30:00\">\r\n"
         "<PrimaryAudioVideoClip src=\"file:///dvddisc/HVDVD_TS/FEATURE_1.MAP\">\r\n";
  for (long n = 1; n + 4 < lines; ++n) {
    xpl << "<Audio track=\"" << n << "\" streamNumber=\"" << n
        << "\" mediaAttr=\"1\" description=\"Language " << n << "\"/>\r\n";
  }
  xpl << "</PrimaryAudioVideoClip>\r\n</Title>\r\n</Playlist>\r\n";
}

int readInWindow(int argc, char* argv[], const std::filesystem::path& disc) {
  QApplication application(argc, argv);
  tessaly::app::TerminalPrompts prompts;
  tessaly::app::WindowedSession desk(prompts);
  desk.fMain.openOnStart((disc / "HVDVD_TS/FEATURE_1.EVO").string());
  desk.fMain.show();
  desk.fMain.activateWindow();
  while (!desk.fMain.isActiveWindow()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const auto start = std::chrono::steady_clock::now();
  desk.fMain.bReadXPL->click();
  QApplication::processEvents();  // what the click left to paint
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("seconds=%.3f\n", seconds.count());
  return prompts.failed ? 1 : 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::string verb = argc > 2 ? argv[1] : "";
  if (verb == "write" && argc == 4) {
    writePlaylist(std::filesystem::absolute(argv[2]), std::stol(argv[3]));
    return 0;
  }
  if (verb == "read" && argc == 3)
    return readInWindow(argc, argv, std::filesystem::absolute(argv[2]));
  std::fprintf(stderr, "usage: tessaly-window-bench write DIR LINES | read DIR\n");
  return 2;
}
