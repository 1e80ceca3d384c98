// The modal boxes and dialogs the core asks for, behind one seam so that tests can
// answer them without blocking.
#pragma once

#include <QString>
#include <string>

#include "session/window.h"

class QWidget;

namespace tessaly::app {

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A Yes/No question with No as default; true for Yes.
  virtual bool askYesNo(QWidget* parent, const QString& question) = 0;
  // The message of an error that ended a handler.
  virtual void showError(QWidget* parent, const QString& message) = 0;
  // An open dialog as the record describes it; a chosen file replaces its fileName.
  virtual bool runDialog(QWidget* parent, FileDialog& dialog) = 0;
};

// The real boxes: QMessageBox and QFileDialog, modal over the window.
class ModalPrompts final : public Prompts {
 public:
  bool askYesNo(QWidget* parent, const QString& question) override;
  void showError(QWidget* parent, const QString& message) override;
  bool runDialog(QWidget* parent, FileDialog& dialog) override;
};

// Boxes for programs without an operator (the screenshot, the window benchmark):
// errors go to standard error, every question is answered No, every dialog cancelled.
class TerminalPrompts final : public Prompts {
 public:
  bool askYesNo(QWidget* parent, const QString& question) override;
  void showError(QWidget* parent, const QString& message) override;
  bool runDialog(QWidget* parent, FileDialog& dialog) override;

  bool failed = false;  // an error was shown
};

// A dialog filter "Caption|pattern" in Qt's form "Caption (pattern)"; a pattern in
// capitals ("*.EVO", "VPLST000.XPL") also lists its lower-case form, as discs copied to
// disk may carry it.
QString qtFilter(const std::string& filter);
// A default extension without its wildcard and dot ("*.xpl" -> "xpl").
QString qtSuffix(const std::string& defaultExt);

}  // namespace tessaly::app
