// The window's entry: one optional argument, an .EVO or .XPL path, is taken like a
// file dropped on the window (as a file manager's "Open with" passes it); --help and
// --version answer without a display, and so does a usage error.
#include <QApplication>

#include <cstdio>

#include "app/command_line.h"
#include "app/logo.h"
#include "app/prompts.h"
#include "app/windowed_session.h"
#include "platform/files.h"

namespace {

constexpr int kUsageErrorStatus = 2;

}  // namespace

int main(int argc, char* argv[]) {
  using tessaly::app::CommandLine;
  CommandLine line = tessaly::app::readCommandLine(argc, argv);
  switch (line.action) {
    case CommandLine::Action::Help:
      std::fputs(tessaly::app::usageText(), stdout);
      return 0;
    case CommandLine::Action::Version:
      std::puts("tessaly " TESSALY_VERSION);
      return 0;
    case CommandLine::Action::UsageError:
      std::fprintf(stderr, "%s\n", tessaly::app::usageErrorLine(line.error).c_str());
      return kUsageErrorStatus;
    case CommandLine::Action::Open:
      break;
  }
  int qtArgc = static_cast<int>(line.qtArguments.size()) - 1;
  QApplication application(qtArgc, line.qtArguments.data());
  QApplication::setApplicationName(tessaly::app::kApplicationTitle);
  QApplication::setWindowIcon(tessaly::app::drawIcon());
  QApplication::setDesktopFileName(TESSALY_APP_ID);  // the desktop entry, for its icon and name
  tessaly::app::ModalPrompts prompts;
  tessaly::app::WindowedSession desk(prompts);
  // The path's bytes as given, whatever their encoding.
  if (!line.path.empty()) desk.fMain.openOnStart(tessaly::fullPath(line.path));
  desk.fMain.show();
  desk.fMain.activateWindow();  // the start-up activation loads the settings first
  return QApplication::exec();
}
