// The window's entry: one optional argument, an .EVO or .XPL path, is taken like a
// file dropped on the window (as a file manager's "Open with" passes it).
#include <QApplication>

#include "app/prompts.h"
#include "app/windowed_session.h"
#include "shell/files.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(tessaly::app::kApplicationTitle);
  tessaly::app::ModalPrompts prompts;
  tessaly::app::WindowedSession desk(prompts);
  // argv as QApplication left it (its own options taken out): the path's bytes unchanged.
  if (argc > 1) desk.fMain.openOnStart(tessaly::fullPath(argv[1]));
  desk.fMain.show();
  desk.fMain.activateWindow();  // the start-up activation loads the settings first
  return QApplication::exec();
}
