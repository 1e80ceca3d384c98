#include "mux/matroska_step.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "catalogue/catalogue.h"
#include "catalogue/job_report.h"
#include "job/demux_job.h"
#include "mux/mkvmerge_run.h"
#include "mux/mux_plan.h"
#include "mux/text_file.h"
#include "playlist/chapter_files.h"
#include "shell/paths.h"
#include "shell/report.h"

namespace tessaly {
namespace {

bool emptyFile(const std::string& name) {
  struct stat info {};
  return ::stat(name.c_str(), &info) == 0 && info.st_size == 0;
}

// What the writing pass and the playlist give a stream: its delay after video stream 0
// and its language.
void addStreamFacts(Session& s, MuxSource& source, const StreamEntry& entry) {
  source.delayMs = entry.delayMs;
  const std::string language = entry.language.value_or("");
  // Anything but an ISO 639 code would make mkvmerge refuse the whole call.
  if (languageCode(language)) {
    source.language = language;
  } else if (!language.empty()) {
    log(s, "Track " + source.name + ": the playlist's language \"" + language +
               "\" is no ISO 639 code; the track has none.");
  }
}

// The job's outputs in job order (video, audio by number, subpictures), each with what
// it made and what the job learnt of its stream.
std::vector<MuxSource> muxSources(Session& s) {
  const JobReport report = jobReport(s);
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
    const auto entry = std::find_if(report.streams.begin(), report.streams.end(),
                                    [slot](const StreamEntry& e) { return e.slot == slot; });
    if (entry != report.streams.end()) addStreamFacts(s, source, *entry);
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

// The title that plays the EVO file, when it has chapters to go into the Matroska file.
const TitleFacts* chapteredTitle(const Session& s) {
  const TitleFacts* title = chosenTitle(s);
  return title && !title->chapters.empty() ? title : nullptr;
}

std::string chapterFileName(const Session& s) {
  return OutputBase(s) + ".chapters.xml";
}

MuxRequest muxRequest(const Session& s, const std::string& output) {
  MuxRequest request{output, "", ""};
  if (const TitleFacts* title = chosenTitle(s)) request.title = title->name;
  if (chapteredTitle(s)) request.chapters = chapterFileName(s);
  return request;
}

void runAndTidy(Session& s, const MuxPlan& plan, const std::string& output,
                const std::string& chapters) {
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
  if (!chapters.empty()) removeFile(s, chapters, "Removing ");
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
  if (chapteredTitle(s)) names.push_back(chapterFileName(s));
  if (!s.Matroska.optionFile.empty()) names.push_back(s.Matroska.optionFile);
  return names;
}

void writeExtraFile(Session& s, const std::string& name, const std::string& text) {
  log(s, "Writing " + name);
  writeTextFile(name, text);
}

void matroskaStep(Session& s, OptionFileText optionFileText) {
  const std::string output = matroskaOutput(s);
  if (output.empty()) return;
  if (s.StopRequested) {
    log(s, "No Matroska file: the demux was stopped.");
    return;
  }
  const MuxRequest request = muxRequest(s, output);
  const MuxPlan plan = muxPlan(request, muxSources(s));
  for (const std::string& note : plan.notes) log(s, note);
  if (plan.tracks == 0) {
    log(s, "No Matroska file: no output can go into " + output + ".");
    return;
  }
  if (const TitleFacts* title = chapteredTitle(s)) {
    writeExtraFile(s, request.chapters, matroskaChapters(*title));
  }
  if (!s.Matroska.optionFile.empty()) {
    writeExtraFile(s, s.Matroska.optionFile, optionFileText(plan.arguments));
    return;
  }
  runAndTidy(s, plan, output, request.chapters);
}

}  // namespace tessaly
