// The terminal as the core's toolkit: log lines on standard output, status texts on
// standard error, Ctrl-C (and SIGTERM, SIGHUP) as the Cancel button.
#pragma once

#include <cstdio>
#include <string>

#include "session/host.h"
#include "session/session.h"

namespace tessaly::cli {

// Makes Ctrl-C, SIGTERM and SIGHUP ask the running job to stop (seen at the engine's
// next progress point), so every output is flushed and closed; a second signal of the
// same kind ends the program at once.
void installStopSignals();
// True once a stop signal came.
bool interrupted();
// The first stop signal that came (SIGINT, SIGTERM, SIGHUP), or 0.
int stopSignal();

class CliHost : public Host {
 public:
  // With `selfUpdating`, the status is one line on standard error that is rewritten in
  // place (for a terminal); otherwise each status text is a line of its own. With
  // `logOnStandardError` the log goes there too, leaving standard output to data.
  explicit CliHost(bool selfUpdating, bool logOnStandardError = false);
  ~CliHost() override;
  CliHost(const CliHost&) = delete;
  CliHost& operator=(const CliHost&) = delete;

  // The session whose status bar is shown and whose job Ctrl-C stops.
  void attach(Session& session) { session_ = &session; }

  void logAppended(const std::string& line) override;
  void statusChanged(int panel) override;
  // Turns a stop signal into StopRequested, as "Cancel" does, without a question.
  void processMessages() override;
  void repaint() override {}
  // Nobody is asked on a command line: Yes only when a stop signal came.
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
  std::FILE* log_;
  bool lineShown_ = false;
  bool progressSet_ = false;  // panel 1 still holds the window's start-up text until set
};

}  // namespace tessaly::cli
