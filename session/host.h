// What the core needs from a user-interface toolkit, and nothing more.
#pragma once

#include <string>

namespace tessaly {

struct FileDialog;

// Implemented by the Qt window, the command line and the tests' recorder. The core
// calls it from inside long-running handlers, so every call must take effect at once.
class Host {
 public:
  virtual ~Host() = default;

  // A line was appended to the log; show it now.
  virtual void logAppended(const std::string& line) = 0;
  // A status panel (0 or 1) changed; repaint the status bar now.
  virtual void statusChanged(int panel) = 0;
  // Let pending window events be handled (clicks on Cancel, repaints).
  virtual void processMessages() = 0;
  // Repaint the whole window now.
  virtual void repaint() = 0;
  // Ask a Yes/No question, No being the default; true for Yes.
  virtual bool askYesNo(const std::string& question) = 0;
  // Show the message of an error that ended a handler.
  virtual void showError(const std::string& message) = 0;
  // Show an open dialog; it leaves its current file name in dialog.fileName whatever
  // the operator did. Returns true when a file was chosen.
  virtual bool runDialog(FileDialog& dialog) = 0;
};

}  // namespace tessaly
