// One window per test over a fresh settings folder, with its modal boxes answered
// from a script instead of blocking. Each box takes the focus while it is open and
// gives the window an activation when it closes, as real boxes and dialogs do.
#pragma once

#include <QEvent>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "app/windowed_session.h"
#include "support/config_home.h"

class QAbstractButton;
class QWidget;

namespace tessaly::testing {

class ScriptedPrompts : public app::Prompts {
 public:
  bool askYesNo(QWidget* parent, const QString& question) override;
  void showError(QWidget* parent, const QString& message) override;
  bool runDialog(QWidget* parent, FileDialog& dialog) override;

  QList<bool> answers;  // replies to the questions, in order; No when none is left
  QStringList questions;
  QStringList errors;
  std::vector<FileDialog> dialogs;  // each dialog as it was shown
  std::string choice;               // the file a dialog returns; empty = cancelled
};

// Counts the events of one type that a widget receives.
class EventCounter : public QObject {
 public:
  EventCounter(QWidget* widget, QEvent::Type type);
  bool eventFilter(QObject* watched, QEvent* event) override;

  int count = 0;

 private:
  QEvent::Type type_;
};

struct Desk {
  ConfigHome home;  // before the window: its activations read the settings there
  ScriptedPrompts prompts;
  app::WindowedSession app{prompts};
  app::TfMain& fMain = app.fMain;
  Session& s = app.session;

  // The control with this object name, or nullptr.
  template <typename Control>
  Control* find(const char* name) const {
    return fMain.findChild<Control*>(name);
  }
  // Shows the window and lets the platform activate it.
  void showActive();
  // Drops the files on `target` (a control of the window) as a file manager would.
  bool drop(QWidget* target, const QStringList& paths);
  // The same with the files as URLs, whose paths may hold any bytes.
  bool dropUrls(QWidget* target, const QList<QUrl>& urls);
  // Stores a settings key holding these value lines ("Name"=dword:0000001e ...).
  void storeSettings(const std::string& valueLines) const { storeSettings(home, valueLines); }
  static void storeSettings(const ConfigHome& home, const std::string& valueLines);
  // Gives the focus to another window, then back to fMain: the platform activates it.
  void returnFromAnotherProgram();
  // Clicks the button with the mouse.
  static void click(QAbstractButton* button);
};

}  // namespace tessaly::testing
