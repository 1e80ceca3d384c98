// The terminal as the core's front end: log lines on standard output, status texts on
// standard error, Ctrl-C (and SIGTERM, SIGHUP) as the Cancel button.
#pragma once

#include <array>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/job_observer.h"

namespace tessaly::cli {

// Makes Ctrl-C, SIGTERM and SIGHUP ask the running job to stop (seen before the engine's
// next chunk), so every output is flushed and closed; a second signal of the same kind
// ends the program at once.
void installStopSignals();
// True once a stop signal came.
bool interrupted();
// The first stop signal that came (SIGINT, SIGTERM, SIGHUP), or 0.
int stopSignal();

class CliObserver final : public JobObserver {
 public:
  // With `selfUpdating`, the status is one line on standard error that is rewritten in
  // place (for a terminal); otherwise each status text is a line of its own. With
  // `logOnStandardError` the log goes there too, leaving standard output to data.
  explicit CliObserver(bool selfUpdating, bool logOnStandardError = false);
  ~CliObserver() override;
  CliObserver(const CliObserver&) = delete;
  CliObserver& operator=(const CliObserver&) = delete;

  void log(const std::string& line) override;
  void status(int panel, const std::string& text) override;
  // A stop signal is taken at the next breath, as the window takes Cancel (every 4 MiB
  // of a pass): nobody is asked on a command line.
  void breathe() override { stop_ = stop_ || interrupted(); }
  bool stopRequested() override { return stop_; }
  void stoppableBegins(bool) override { stop_ = false; }

  // "tessaly-cli: <message>" on standard error.
  void showError(const std::string& message);
  // Runs a step of a verb; an error that escapes it is shown with its message, a failed
  // read or write after a log line naming the file and the reason. False after an error.
  // A UsageError passes through.
  bool succeeded(const std::function<void()>& step);

 private:
  std::string statusLine() const;
  void clearStatusLine();
  void drawStatusLine();

  bool selfUpdating_;
  std::FILE* log_;
  bool lineShown_ = false;
  std::array<std::string, 2> panels_;  // the state word, the progress text
  bool stop_ = false;
};

}  // namespace tessaly::cli
