#include "cli/evo_steps.h"

#include "catalogue/catalogue.h"
#include "cli/cli_host.h"
#include "cli/verbs.h"
#include "shell/file_choice.h"
#include "shell/files.h"
#include "shell/invoke.h"

namespace tessaly::cli {

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
  return invoke(s, bCheckClick);
}

int statusAfterJobs(Session& s) {
  if (!interrupted()) return kSuccess;
  s.host.showError("stopped by Ctrl-C");
  return kJobFailed;
}

}  // namespace tessaly::cli
