// The terminal as the core's toolkit: log lines on standard output, status texts on
// standard error, Ctrl-C as the Cancel button.
#pragma once

#include <string>

#include "shell/host.h"
#include "shell/session.h"

namespace tessaly::cli {

// Makes Ctrl-C ask the running job to stop (seen at the engine's next progress point);
// a second Ctrl-C ends the program at once.
void installInterruptHandler();
// True once Ctrl-C was pressed.
bool interrupted();

class CliHost : public Host {
 public:
  // With `selfUpdating`, the status is one line on standard error that is rewritten in
  // place (for a terminal); otherwise each status text is a line of its own.
  explicit CliHost(bool selfUpdating);
  ~CliHost() override;
  CliHost(const CliHost&) = delete;
  CliHost& operator=(const CliHost&) = delete;

  // The session whose status bar is shown and whose job Ctrl-C stops.
  void attach(Session& session) { session_ = &session; }

  void logAppended(const std::string& line) override;
  void statusChanged(int panel) override;
  // Turns a pressed Ctrl-C into StopRequested, as "Cancel" does, without a question.
  void processMessages() override;
  void repaint() override {}
  // Nobody is asked on a command line: Yes only when Ctrl-C was pressed.
  bool askYesNo(const std::string& question) override;
  // "tessaly-cli: <message>" on standard error.
  void showError(const std::string& message) override;
  bool runDialog(FileDialog& dialog) override;

 private:
  std::string statusLine() const;
  void clearStatusLine();
  void drawStatusLine();

  Session* session_ = nullptr;
  bool selfUpdating_;
  bool lineShown_ = false;
  bool progressSet_ = false;  // panel 1 still holds the window's start-up text until set
};

}  // namespace tessaly::cli
