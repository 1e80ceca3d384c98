// fMain, the one window. It holds its controls, named as the handlers know them;
// every value the handlers share lives in the Session, and the Binding keeps the
// controls and the records in step.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "app/anchors.h"
#include "session/session.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace tessaly::app {

class Binding;
class LogoImage;
class PaneSplitter;
class StatusPanels;
class StreamBox;

// The application's title, which a desktop shows in its task bar and menus (and the
// error box as its title). The window's caption is its own and carries no suffix.
inline constexpr const char* kApplicationTitle = "HD DVD Tessaly";

class TfMain : public QWidget {
 public:
  explicit TfMain(Session& session);
  ~TfMain() override;
  TfMain(const TfMain&) = delete;
  TfMain& operator=(const TfMain&) = delete;

  // Shows the records in the controls.
  void mirror();
  // Shows the log lines that the controls do not show yet.
  void mirrorLog();
  // A line was logged: shown now or with the next ones (Binding::logAppended).
  void logAppended();
  // Shows a status panel's record at once.
  void showStatus(int panel);
  // A path from the command line, taken like a drop once the window is first activated.
  void openOnStart(const std::string& path) { pendingOpen_ = path; }

  QLineEdit* eEVOfile = nullptr;
  QToolButton* bbEVO = nullptr;
  QPushButton* bCheck = nullptr;
  QLineEdit* eXPLfile = nullptr;
  QToolButton* bbXPL = nullptr;
  QPushButton* bReadXPL = nullptr;
  QTabWidget* PageControl = nullptr;
  QWidget* tsStatus = nullptr;
  QPlainTextEdit* mMessage = nullptr;
  QWidget* tsVideo = nullptr;
  std::array<StreamBox*, kVideoBoxes> cbVideo{};
  QWidget* tsAudio = nullptr;
  std::array<StreamBox*, kAudioBoxes> cbAudio{};
  QWidget* tsSubpicture = nullptr;
  std::array<StreamBox*, kSubBoxes> cbSub{};
  QWidget* tsXPL = nullptr;
  QTreeWidget* tvXPL = nullptr;
  PaneSplitter* splXPL = nullptr;
  QPlainTextEdit* mXPL = nullptr;
  QWidget* tsTitles = nullptr;
  QLabel* lDisc = nullptr;
  QTreeWidget* lvTitles = nullptr;
  QPushButton* bDemuxTitle = nullptr;
  QWidget* tsOption = nullptr;
  QGroupBox* gbFile = nullptr;
  QLabel* lVideoExt = nullptr;
  QLineEdit* eVideoExt = nullptr;
  QLineEdit* eAudioExt = nullptr;
  QLineEdit* eSubExt = nullptr;
  QLabel* lWorkdir = nullptr;
  QLineEdit* eWorkdir = nullptr;
  QCheckBox* cbContinue = nullptr;
  QCheckBox* cbFastCheck = nullptr;
  QCheckBox* cbMatroska = nullptr;
  QCheckBox* cbForTools = nullptr;
  QPushButton* bDemux = nullptr;
  LogoImage* imLogo = nullptr;
  QPushButton* bCancel = nullptr;
  StatusPanels* StatusBar = nullptr;

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void takePendingOpen();

  Session& session_;
  AnchorLayout anchors_;
  std::unique_ptr<Binding> binding_;
  std::string pendingOpen_;
  bool started_ = false;  // the start-up activation has run
};

}  // namespace tessaly::app
