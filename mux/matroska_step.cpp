#include "mux/matroska_step.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "catalogue/catalogue.h"
#include "job/demux_job.h"
#include "mux/mkvmerge_run.h"
#include "mux/mux_plan.h"
#include "shell/files.h"
#include "shell/paths.h"
#include "shell/report.h"

namespace tessaly {
namespace {

bool emptyFile(const std::string& name) {
  struct stat info {};
  return ::stat(name.c_str(), &info) == 0 && info.st_size == 0;
}

// The job's outputs in job order (video, audio by number, subpictures), each with what
// it made and what the job learnt of its stream.
std::vector<MuxSource> muxSources(const Session& s) {
  std::vector<MuxSource> sources;
  for (int slot : OutputSet::jobOrder()) {
    MuxSource source;
    for (const MadeFile& file : s.Made) {
      if (file.slot == slot) source.files.push_back(file);
    }
    if (source.files.empty()) continue;
    source.group = groupOfSlot(slot)->group;
    source.codec = s.StreamTable[slot];
    source.empty = emptyFile(source.files.front().name);
    source.name = slotBox(s.fMain, slot).caption;
    sources.push_back(std::move(source));
  }
  return sources;
}

// Removes a file; a file that cannot be removed is said in the log, not an error: the
// Matroska file is made.
void removeFile(Session& s, const std::string& name, const std::string& line) {
  if (::unlink(name.c_str()) == 0 || errno == ENOENT) {
    log(s, line + name);
  } else {
    log(s, "Cannot remove " + name + ": " + std::strerror(errno));
  }
}

void writeOptionFile(Session& s, const std::string& name, const std::string& text) {
  OutputFile file(name);
  file.write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  file.close();
  log(s, "Writing " + name);
}

void runAndTidy(Session& s, const MuxPlan& plan, const std::string& output) {
  slog(s, "Muxing", 0);
  // What stands at the name is replaced, as an output is: after a failure, what is there
  // is mkvmerge's own incomplete file.
  ::unlink(output.c_str());
  log(s, "Running mkvmerge for " + output);
  if (!runMkvmerge(s, plan.arguments, output)) {
    removeFile(s, output, "Stopped: removed the incomplete ");
    return;
  }
  if (s.Matroska.keepStreams) return;
  for (const std::string& name : plan.consumed) removeFile(s, name, "Removing ");
}

}  // namespace

std::string matroskaOutput(const Session& s) {
  if (!s.Matroska.output.empty()) return s.Matroska.output;
  return s.fMain.cbMatroska.ticked ? OutputBase(s) + ".mkv" : "";
}

std::vector<std::string> matroskaNames(const Session& s) {
  const std::string output = matroskaOutput(s);
  if (output.empty()) return {};
  std::vector<std::string> names{output};
  if (!s.Matroska.optionFile.empty()) names.push_back(s.Matroska.optionFile);
  return names;
}

void matroskaStep(Session& s, OptionFileText optionFileText) {
  const std::string output = matroskaOutput(s);
  if (output.empty()) return;
  if (s.StopRequested) {
    log(s, "No Matroska file: the demux was stopped.");
    return;
  }
  const MuxPlan plan = muxPlan({output, "", ""}, muxSources(s));
  for (const std::string& note : plan.notes) log(s, note);
  if (plan.tracks == 0) {
    log(s, "No Matroska file: no output can go into " + output + ".");
    return;
  }
  if (!s.Matroska.optionFile.empty()) {
    writeOptionFile(s, s.Matroska.optionFile, optionFileText(plan.arguments));
    return;
  }
  runAndTidy(s, plan, output);
}

}  // namespace tessaly
