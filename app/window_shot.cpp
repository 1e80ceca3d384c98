// tessaly-window-shot PICTURE EVO: opens the window on an EVO file as the program does,
// runs "Read EVO", and saves a picture of the window (the documentation's screenshot).
// Errors and questions go to the terminal instead of modal boxes.
#include <QApplication>
#include <QPushButton>
#include <cstdio>

#include "app/prompts.h"
#include "app/windowed_session.h"
#include "shell/files.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(tessaly::app::kApplicationTitle);
  if (argc != 3) {
    std::fprintf(stderr, "usage: tessaly-window-shot PICTURE EVO\n");
    return 2;
  }
  tessaly::app::TerminalPrompts prompts;
  tessaly::app::WindowedSession desk(prompts);
  desk.fMain.openOnStart(tessaly::fullPath(argv[2]));
  desk.fMain.show();
  desk.fMain.activateWindow();
  while (!desk.fMain.isActiveWindow()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  desk.fMain.bCheck->click();
  QApplication::processEvents();
  if (!desk.fMain.grab().save(argv[1])) {
    std::fprintf(stderr, "Cannot save %s\n", argv[1]);
    return 1;
  }
  return prompts.failed ? 1 : 0;
}
