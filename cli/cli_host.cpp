#include "cli/cli_host.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "cli/standard_output.h"
#include "session/log.h"

namespace tessaly::cli {
namespace {

volatile std::sig_atomic_t firstStopSignal = 0;

void onStopSignal(int signal) {
  if (firstStopSignal == 0) firstStopSignal = signal;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
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

CliHost::CliHost(bool selfUpdating, bool logOnStandardError)
    : selfUpdating_(selfUpdating), log_(logOnStandardError ? stderr : stdout) {}

CliHost::~CliHost() {
  clearStatusLine();
}

void CliHost::logAppended(const std::string& line) {
  const bool redraw = lineShown_;
  clearStatusLine();
  std::fprintf(log_, "%s\n", line.c_str());
  if (log_ == stdout) {
    flushStandardOutput();
  } else {
    std::fflush(log_);
  }
  if (redraw) drawStatusLine();
}

void CliHost::statusChanged(int panel) {
  if (!session_) return;
  if (panel == 1) progressSet_ = true;
  if (selfUpdating_) {
    drawStatusLine();
    return;
  }
  const std::string text =
      trimmed(session_->fMain.statusBar.panels.at(static_cast<unsigned>(panel)));
  if (!text.empty()) std::fprintf(stderr, "%s\n", text.c_str());
}

void CliHost::processMessages() {
  if (interrupted() && session_) session_->StopRequested = true;
}

bool CliHost::askYesNo(const std::string&) {
  return interrupted();
}

void CliHost::showError(const std::string& message) {
  clearStatusLine();
  std::fprintf(stderr, "tessaly-cli: %s\n", visibleText(message).c_str());
}

bool CliHost::runDialog(FileDialog&) {
  return false;
}

// "[state] text": panel 0's state word, then panel 1's progress text.
std::string CliHost::statusLine() const {
  const auto& panels = session_->fMain.statusBar.panels;
  std::string line = "[";  // appended, not "[" + ... + "]": GCC 12 -O3 warns falsely (-Wrestrict)
  line += trimmed(panels[0]);
  line += ']';
  const std::string text = progressSet_ ? trimmed(panels[1]) : std::string();
  if (!text.empty()) line += " " + text;
  return line.substr(0, terminalWidth());
}

void CliHost::clearStatusLine() {
  if (!lineShown_) return;
  std::fputs("\r\x1b[K", stderr);
  std::fflush(stderr);
  lineShown_ = false;
}

void CliHost::drawStatusLine() {
  std::fprintf(stderr, "\r\x1b[K%s", statusLine().c_str());
  std::fflush(stderr);
  lineShown_ = true;
}

}  // namespace tessaly::cli
