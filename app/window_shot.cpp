// The documentation's screenshots: opens the window on an EVO file as the program does,
// runs "Read EVO", and saves a picture of the window.
//   tessaly-window-shot PICTURE EVO             after "Read EVO"
//   tessaly-window-shot PICTURE EVO OUT_FOLDER  during "Demux" into OUT_FOLDER, at its first
//                                              progress step (the demux is then stopped)
//   tessaly-window-shot PICTURE EVO --options   the "Options" page after "Read EVO", its two
//                                              boxes for other tools ticked
//   tessaly-window-shot PICTURE EVO --xpl PAGE [WIDTHxHEIGHT]
//                                              the page (tsAudio, tsTitles...) after "Read XPL",
//                                              in a window of that client size
//   tessaly-window-shot PICTURE EVO --mkv OUT_FOLDER
//                                              "Read XPL", then "Demux" into OUT_FOLDER with
//                                              both boxes ticked, to its end: the log
// Errors and questions go to the terminal instead of modal boxes.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <cstdio>
#include <string>

#include "app/prompts.h"
#include "app/windowed_session.h"
#include "platform/files.h"

namespace {

bool save(QWidget& window, const char* picture) {
  if (window.grab().save(picture)) return true;
  std::fprintf(stderr, "Cannot save %s\n", picture);
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(tessaly::app::kApplicationTitle);
  if (argc < 3 || argc > 6) {
    std::fprintf(stderr,
                 "usage: tessaly-window-shot PICTURE EVO [OUT_FOLDER|--options|--mkv OUT_FOLDER|"
                 "--xpl PAGE [WIDTHxHEIGHT]]\n");
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
  if (argc == 3) return save(desk.fMain, argv[1]) && !prompts.failed ? 0 : 1;
  if (std::string(argv[3]) == "--options") {
    desk.fMain.cbMatroska->click();
    desk.fMain.cbForTools->click();
    desk.fMain.PageControl->setCurrentWidget(desk.fMain.tsOption);
    QApplication::processEvents();
    return save(desk.fMain, argv[1]) && !prompts.failed ? 0 : 1;
  }
  if (std::string(argv[3]) == "--xpl" && argc >= 5) {
    desk.fMain.bReadXPL->click();
    const QStringList size = QString(argc == 6 ? argv[5] : "").split('x');
    if (size.size() == 2) desk.fMain.resize(size[0].toInt(), size[1].toInt());
    desk.fMain.PageControl->setCurrentWidget(desk.fMain.findChild<QWidget*>(argv[4]));
    QApplication::processEvents();
    return save(desk.fMain, argv[1]) && !prompts.failed ? 0 : 1;
  }
  if (std::string(argv[3]) == "--mkv" && argc == 5) {
    desk.fMain.cbMatroska->click();
    desk.fMain.cbForTools->click();
    desk.fMain.bReadXPL->click();
    desk.fMain.eWorkdir->setText(QString::fromLocal8Bit(argv[4]));
    desk.fMain.bDemux->click();
    QApplication::processEvents();
    return save(desk.fMain, argv[1]) && !prompts.failed ? 0 : 1;
  }

  desk.fMain.eWorkdir->setText(QString::fromLocal8Bit(argv[3]));
  bool saved = false;
  desk.host.onMessages = [&] {
    if (saved) return;
    QApplication::processEvents();  // paint the progress first
    saved = save(desk.fMain, argv[1]);
    desk.session.StopRequested = true;
  };
  desk.fMain.bDemux->click();
  return saved && !prompts.failed ? 0 : 1;
}
