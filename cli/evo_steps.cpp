#include "cli/evo_steps.h"

#include <csignal>
#include <filesystem>

#include "cli/verbs.h"
#include "engine/program_stream_file.h"
#include "job/output_names.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace tessaly::cli {
namespace {

std::string signalName(int signal) {
  return signal == SIGTERM ? "SIGTERM" : signal == SIGHUP ? "SIGHUP" : std::to_string(signal);
}

// The full path of `path`, which must have `extension`, as the window's drop takes it.
std::string fileWith(const std::string& path, const std::string& extension) {
  if (upperExtension(path) != extension) {
    throw UsageError("not an " + extension + " file: " + path);
  }
  return fullPath(path);
}

}  // namespace

std::string singleOperand(const Arguments& arguments, const std::string& what) {
  if (arguments.operands.size() != 1) throw UsageError("expected exactly one " + what);
  return arguments.operands.front();
}

std::string evoFile(const std::string& path) {
  if (!programStreamName(path)) throw UsageError("not an .EVO, .VOB, .MPG or .MPEG file: " + path);
  return fullPath(path);
}

bool programStreamInput(CliObserver& observer, const std::string& evo) {
  try {
    if (startsAsProgramStream(evo)) return true;
  } catch (const std::exception&) {
    return true;  // the job's own open names the reason
  }
  observer.showError("Not an MPEG program stream: \"" + evo + "\"");
  return false;
}

std::string xplFile(const std::string& path) {
  return fileWith(path, ".XPL");
}

std::vector<std::string> clipNames(const std::vector<std::string>& evoFiles) {
  std::vector<std::string> names;
  for (const std::string& file : evoFiles) {
    if (!file.empty()) names.push_back(baseName(fileNamePart(file)));
  }
  return names;
}

bool createOutputFolder(CliObserver& observer, const std::string& folder) {
  std::error_code error;
  if (folder.empty() || std::filesystem::create_directories(folder, error) || !error) return true;
  observer.showError("Cannot create folder \"" + fullPath(folder) + "\". " + error.message());
  return false;
}

void endWithWarnings(CliObserver& observer, std::size_t warnings, const std::string& film) {
  endJob(observer);
  if (warnings == 0) return;
  observer.showError("warning: " + film + " is made, with " + std::to_string(warnings) +
                     (warnings == 1 ? " mkvmerge warning" : " mkvmerge warnings") +
                     (warnings == 1 ? " (in the log above)" : " (the first in the log above)"));
}

int statusAfterJobs(CliObserver& observer) {
  const int signal = stopSignal();
  if (signal == 0) return kSuccess;
  observer.showError(signal == SIGINT ? "stopped by Ctrl-C" : "stopped by " + signalName(signal));
  return kStoppedBySignal + signal;  // the shell's convention: 130 for Ctrl-C, 143 for SIGTERM
}

}  // namespace tessaly::cli
