#include "cli/evo_steps.h"

#include <csignal>

#include "cli/cli_host.h"
#include "cli/verbs.h"
#include "platform/files.h"
#include "session/file_choice.h"
#include "session/invoke.h"
#include "session/read_evo.h"

namespace tessaly::cli {
namespace {

std::string signalName(int signal) {
  return signal == SIGTERM ? "SIGTERM" : signal == SIGHUP ? "SIGHUP" : std::to_string(signal);
}

}  // namespace

std::string singleOperand(const Arguments& arguments, const std::string& what) {
  if (arguments.operands.size() != 1) throw UsageError("expected exactly one " + what);
  return arguments.operands.front();
}

void chooseEVO(Session& s, const std::string& path) {
  WMDropFiles(s, {fullPath(path)});  // a drop hands over full paths
  if (s.fMain.eEVOfile.text.empty()) throw UsageError("not an .EVO file: " + path);
}

void chooseXPL(Session& s, const std::string& path) {
  const std::string full = fullPath(path);
  WMDropFiles(s, {full});
  if (s.fMain.eXPLfile.text != full) throw UsageError("not an .XPL file: " + path);
}

bool readEVO(Session& s) {
  if (!invoke(s, bCheckClick)) return false;
  // Only the fast check and a stop signal end a scan early on a command line.
  if (s.StopRequested && !interrupted()) {
    s.host.showError("only the first 300 MB were read (fast check); --full reads the whole file");
  }
  return true;
}

int statusAfterJobs(Session& s) {
  const int signal = stopSignal();
  if (signal == 0) return kSuccess;
  s.host.showError(signal == SIGINT ? "stopped by Ctrl-C" : "stopped by " + signalName(signal));
  return kStoppedBySignal + signal;  // the shell's convention: 130 for Ctrl-C, 143 for SIGTERM
}

}  // namespace tessaly::cli
