#include "mux/mkvmerge_run.h"

#include "shell/child_process.h"
#include "shell/paths.h"
#include "shell/report.h"

namespace tessaly {
namespace {

// What mkvmerge's --gui-mode puts before its lines that a caller acts on; its other
// lines (the demultiplexers it chose, the time it took) say nothing the log needs.
constexpr std::string_view kProgress = "#GUI#progress ";
constexpr std::string_view kWarning = "#GUI#warning ";
constexpr std::string_view kError = "#GUI#error ";
constexpr int kWarnings = 1;  // mkvmerge's exit status: done, with warnings

bool startsWith(const std::string& line, std::string_view prefix) {
  return line.compare(0, prefix.size(), prefix) == 0;
}

class MkvmergeLines {
 public:
  MkvmergeLines(Session& s, std::string output) : s_(s), output_(std::move(output)) {}

  void take(const std::string& line) {
    if (startsWith(line, kProgress)) {
      slog(s_, "Muxing " + fileNamePart(output_) + " " + line.substr(kProgress.size()), 1);
    } else if (startsWith(line, kWarning)) {
      log(s_, "mkvmerge: Warning: " + line.substr(kWarning.size()));
    } else if (startsWith(line, kError)) {
      if (firstError_.empty()) firstError_ = line.substr(kError.size());
      log(s_, "mkvmerge: Error: " + line.substr(kError.size()));
    }
  }
  const std::string& firstError() const { return firstError_; }

 private:
  Session& s_;
  std::string output_;
  std::string firstError_;
};

// Cancel is seen at each breath of the window, as during a pass.
bool stopAsked(Session& s) {
  s.host.processMessages();
  return s.StopRequested;
}

std::string failure(const std::string& output, const ProgramEnd& end, const std::string& error) {
  const std::string what = "mkvmerge could not make " + fileNamePart(output);
  if (end.exitStatus < 0) return what + ": it was ended by signal " + std::to_string(end.signal);
  return what +
         (error.empty() ? " (exit status " + std::to_string(end.exitStatus) + ")" : ": " + error);
}

}  // namespace

bool runMkvmerge(Session& s, const std::vector<std::string>& arguments, const std::string& output) {
  std::vector<std::string> call{"mkvmerge", "--gui-mode"};
  call.insert(call.end(), arguments.begin(), arguments.end());
  MkvmergeLines lines(s, output);
  // As during a pass: Cancel is enabled while mkvmerge runs (and asks first, as while
  // streams are written), and stays so when an error ends the run.
  s.StopRequested = false;
  s.Writing = true;
  s.fMain.bCancel.enabled = true;
  ProgramEnd end;
  try {
    end = runProgram(
        call, [&](const std::string& line) { lines.take(line); }, [&] { return stopAsked(s); });
  } catch (const ProgramNotFound&) {
    throw Error("mkvmerge was not found; install MKVToolNix (Debian package mkvtoolnix) or " +
                s.Matroska.leaveOut);
  }
  s.fMain.bCancel.enabled = false;
  if (end.stopped) return false;
  if (end.exitStatus != 0 && end.exitStatus != kWarnings) {
    throw Error(failure(output, end, lines.firstError()));
  }
  return true;
}

}  // namespace tessaly
