#include "mux/mkvmerge_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "platform/child_process.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace tessaly {
namespace {

// What --gui-mode puts before the lines that a caller acts on; the programs' other lines
// (the demultiplexers chosen, the time taken) say nothing the log needs.
constexpr std::string_view kProgress = "#GUI#progress ";
constexpr std::string_view kWarning = "#GUI#warning ";
constexpr std::string_view kError = "#GUI#error ";
constexpr int kWarnings = 1;  // MKVToolNix's exit status: done, with warnings
// A damaged stream can make mkvmerge warn hundreds of times: the log shows this many.
constexpr std::size_t kWarningExamples = 3;

// Every MKVToolNix program reads its command line in the locale's character set unless
// told otherwise (under LANG=C a name with "é" would be cut there), and writes its
// messages so.
const std::vector<std::string> kUtf8 = {"--command-line-charset", "UTF-8", "--output-charset",
                                        "UTF-8"};

bool startsWith(const std::string& line, std::string_view prefix) {
  return line.compare(0, prefix.size(), prefix) == 0;
}

// The lines of a program run with --gui-mode: progress to the status bar until an error,
// errors to the log (the first kept for the failure's message), warnings counted, their
// first few kept.
class GuiLines {
 public:
  GuiLines(JobObserver& observer, std::string program, std::string output)
      : observer_(observer), program_(std::move(program)), output_(std::move(output)) {}

  void take(const std::string& line) {
    if (startsWith(line, kProgress)) {
      if (!firstError_.empty()) return;  // the run has failed: no progress after its error
      observer_.status(1, "Muxing " + fileNamePart(output_) + " " + line.substr(kProgress.size()));
    } else if (startsWith(line, kWarning)) {
      if (++warnings_ <= kWarningExamples) examples_.push_back(line.substr(kWarning.size()));
    } else if (startsWith(line, kError)) {
      if (firstError_.empty()) firstError_ = line.substr(kError.size());
      observer_.log(program_ + ": Error: " + line.substr(kError.size()));
    }
  }
  const std::string& firstError() const { return firstError_; }

  // "mkvmerge: 328 warnings, e.g.:" and the first few, once the program has ended.
  std::size_t logWarnings() const {
    if (warnings_ == 0) return 0;
    observer_.log(program_ + ": " + std::to_string(warnings_) +
                  (warnings_ == 1 ? " warning" : " warnings") +
                  (warnings_ > examples_.size() ? ", e.g.:" : ":"));
    for (const std::string& warning : examples_) {
      observer_.log(program_ + ": Warning: " + warning);
    }
    return warnings_;
  }

 private:
  JobObserver& observer_;
  std::string program_;
  std::string output_;
  std::string firstError_;
  std::size_t warnings_ = 0;
  std::vector<std::string> examples_;
};

// Cancel is seen at each breath of the window, as during a pass.
bool stopAsked(JobObserver& observer) {
  observer.breathe();
  return observer.stopRequested();
}

std::string failure(const std::string& what, const ProgramEnd& end, const std::string& error) {
  if (end.exitStatus < 0) return what + ": it was ended by signal " + std::to_string(end.signal);
  return what +
         (error.empty() ? " (exit status " + std::to_string(end.exitStatus) + ")" : ": " + error);
}

std::vector<std::string> call(const std::string& program, const std::vector<std::string>& more) {
  std::vector<std::string> arguments{program};
  arguments.insert(arguments.end(), kUtf8.begin(), kUtf8.end());
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

// Runs an MKVToolNix program stoppable as a writing pass is (Cancel asks first); it stays
// so when an error ends the run. Nullopt when stopped.
std::optional<ProgramEnd> runTool(JobObserver& observer, const std::vector<std::string>& arguments,
                                  const std::function<void(const std::string&)>& line,
                                  const std::string& leaveOut) {
  observer.stoppableBegins(true);
  ProgramEnd end;
  try {
    end = runProgram(arguments, line, [&] { return stopAsked(observer); });
  } catch (const ProgramNotFound&) {
    throw Error(notFound(arguments.front(), leaveOut));
  }
  observer.stoppableEnds();
  if (end.stopped) return std::nullopt;
  return end;
}

// Runs the program with --gui-mode; its warnings' count, nullopt when stopped. A failure
// throws `what`: an exit status above 1, or an error reported whatever the status.
std::optional<std::size_t> runGui(JobObserver& observer, const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  const std::string& output, const std::string& what,
                                  const std::string& leaveOut) {
  std::vector<std::string> more{"--gui-mode"};
  more.insert(more.end(), arguments.begin(), arguments.end());
  GuiLines lines(observer, program, output);
  const auto end = runTool(
      observer, call(program, more), [&](const std::string& l) { lines.take(l); }, leaveOut);
  if (!end) return std::nullopt;
  const std::size_t warnings = lines.logWarnings();
  if ((end->exitStatus != 0 && end->exitStatus != kWarnings) || !lines.firstError().empty()) {
    throw Error(failure(what, *end, lines.firstError()));
  }
  return warnings;
}

}  // namespace

std::string notFound(const std::string& program, const std::string& leaveOut) {
  return program + " was not found; install MKVToolNix (Debian package mkvtoolnix) or " + leaveOut;
}

void requireMkvmerge(const std::string& leaveOut) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/mkvmerge";
    struct stat info {};
    if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0) {
      return;
    }
  }
  throw Error(notFound("mkvmerge", leaveOut));
}

std::optional<std::size_t> runMkvmerge(JobObserver& observer,
                                       const std::vector<std::string>& arguments,
                                       const std::string& output, const std::string& leaveOut) {
  return runGui(observer, "mkvmerge", arguments, output,
                "mkvmerge could not make " + fileNamePart(output), leaveOut);
}

std::optional<std::size_t> setMatroskaTitle(JobObserver& observer, const std::string& output,
                                            const std::string& title, const std::string& leaveOut) {
  return runGui(observer, "mkvpropedit",
                {fullPath(output), "--edit", "info", "--set", "title=" + title}, output,
                "mkvpropedit could not set the title of " + fileNamePart(output), leaveOut);
}

std::optional<std::string> identifyMatroska(JobObserver& observer, const std::string& output,
                                            const std::string& leaveOut) {
  std::string text;
  const auto end = runTool(
      observer, call("mkvmerge", {"-J", fullPath(output)}),
      [&](const std::string& line) { text += line + "\n"; }, leaveOut);
  if (!end) return std::nullopt;
  if (end->exitStatus != 0) {
    throw Error(failure("mkvmerge -J could not read " + fullPath(output), *end, ""));
  }
  return text;
}

}  // namespace tessaly
