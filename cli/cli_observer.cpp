#include "cli/cli_observer.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "cli/arguments.h"
#include "cli/standard_output.h"
#include "platform/error.h"
#include "platform/visible_text.h"

namespace tessaly::cli {
namespace {

volatile std::sig_atomic_t firstStopSignal = 0;

void onStopSignal(int signal) {
  if (firstStopSignal == 0) firstStopSignal = signal;
}

// Columns of the terminal on standard error; a longer line would wrap and could no
// longer be rewritten in place.
std::size_t terminalWidth() {
  winsize size{};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1) return size.ws_col - 1;
  return 79;
}

}  // namespace

void installStopSignals() {
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  // The second signal of a kind is the default one; writes that the signal interrupts
  // go on, so no output loses bytes.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

bool interrupted() {
  return firstStopSignal != 0;
}

int stopSignal() {
  return firstStopSignal;
}

CliObserver::CliObserver(bool selfUpdating, bool logOnStandardError)
    : selfUpdating_(selfUpdating), log_(logOnStandardError ? stderr : stdout) {}

CliObserver::~CliObserver() {
  clearStatusLine();
}

void CliObserver::log(const std::string& text) {
  const bool redraw = lineShown_;
  clearStatusLine();
  std::fprintf(log_, "%s\n", visibleText(text).c_str());
  if (log_ == stdout) {
    flushStandardOutput();
  } else {
    std::fflush(log_);
  }
  if (redraw) drawStatusLine();
}

void CliObserver::status(int panel, const std::string& text) {
  const std::string shown = visibleText(text);
  panels_.at(static_cast<unsigned>(panel)) = shown;
  if (selfUpdating_) {
    drawStatusLine();
  } else if (!shown.empty()) {
    std::fprintf(stderr, "%s\n", shown.c_str());
  }
}

void CliObserver::showError(const std::string& message) {
  clearStatusLine();
  std::fprintf(stderr, "tessaly-cli: %s\n", visibleText(message).c_str());
}

bool CliObserver::succeeded(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const UsageError&) {
    throw;
  } catch (const StreamError& error) {
    log(error.detail());  // which file, and why: the message itself is fixed
    showError(error.what());
  } catch (const std::exception& error) {
    showError(error.what());
  }
  return false;
}

// "[state] text": panel 0's state word, then panel 1's progress text.
std::string CliObserver::statusLine() const {
  std::string line = "[";  // appended, not "[" + ... + "]": GCC 12 -O3 warns falsely (-Wrestrict)
  line += panels_[0];
  line += ']';
  if (!panels_[1].empty()) line += " " + panels_[1];
  return line.substr(0, terminalWidth());
}

void CliObserver::clearStatusLine() {
  if (!lineShown_) return;
  std::fputs("\r\x1b[K", stderr);
  std::fflush(stderr);
  lineShown_ = false;
}

void CliObserver::drawStatusLine() {
  std::fprintf(stderr, "\r\x1b[K%s", statusLine().c_str());
  std::fflush(stderr);
  lineShown_ = true;
}

}  // namespace tessaly::cli
