// The window's entry: one optional argument, an .EVO or .XPL path, is taken like a
// file dropped on the window (as a file manager's "Open with" passes it); --version
// answers without a display.
#include <QApplication>

#include <cstdio>
#include <cstring>

#include "app/logo.h"
#include "app/prompts.h"
#include "app/windowed_session.h"
#include "shell/files.h"

int main(int argc, char* argv[]) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("tessaly " TESSALY_VERSION);
    return 0;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(tessaly::app::kApplicationTitle);
  QApplication::setWindowIcon(tessaly::app::drawIcon());
  QApplication::setDesktopFileName(TESSALY_APP_ID);  // the desktop entry, for its icon and name
  tessaly::app::ModalPrompts prompts;
  tessaly::app::WindowedSession desk(prompts);
  // argv as QApplication left it (its own options taken out): the path's bytes unchanged.
  if (argc > 1) desk.fMain.openOnStart(tessaly::fullPath(argv[1]));
  desk.fMain.show();
  desk.fMain.activateWindow();  // the start-up activation loads the settings first
  return QApplication::exec();
}
