#include "mux/matroska_step.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "catalogue/iso639.h"
#include "catalogue/job_report.h"
#include "job/output_set.h"
#include "mux/mkvmerge_run.h"
#include "mux/mux_plan.h"
#include "mux/text_file.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/utf8_text.h"
#include "playlist/chapter_files.h"
#include "playlist/xml_tag.h"
#include "session/demux_click.h"
#include "session/log.h"
#include "session/selection.h"

namespace tessaly {
namespace {

bool emptyFile(const std::string& name) {
  struct stat info {};
  return ::stat(name.c_str(), &info) == 0 && info.st_size == 0;
}

// A text of the disc for the Matroska file: mkvmerge takes UTF-8 only, so invalid bytes
// become U+FFFD, which the log says.
std::string utf8Value(Session& s, const std::string& what, const std::string& value) {
  std::string valid = validUtf8(value);
  if (valid != value) {
    log(s, what + " is not valid UTF-8: the Matroska file has U+FFFD for its invalid bytes.");
  }
  return valid;
}

// What the writing pass and the playlist give a stream: its delay after video stream 0,
// its description and its language.
void addStreamFacts(Session& s, MuxSource& source, const StreamEntry& entry) {
  source.delayMs = entry.delayMs;
  source.description =
      utf8Value(s, "The description of track " + source.name, entry.description.value_or(""));
  source.units = entry.unitFacts;
  source.langcodeExtension = entry.langcodeExtension;
  const std::string language = entry.language.value_or("");
  // Anything but an ISO 639 code would make mkvmerge refuse the whole call.
  if (const auto code = matroskaLanguage(language)) {
    source.language = *code;
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
    // The caption keeps the playlist's character references; the track's name is the text.
    const std::string& caption = slotBox(s.fMain, slot).caption;
    source.name = utf8Value(s, "The name of track " + caption, decodedReferences(caption));
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

MuxRequest muxRequest(Session& s, const std::string& output) {
  MuxRequest request{output, "", "", ""};
  if (const TitleFacts* title = chosenTitle(s)) {
    request.title = utf8Value(s, "The title's name", title->name);
    request.videoLanguage = matroskaLanguage(title->defaultLanguage).value_or("");
  }
  if (chapteredTitle(s)) request.chapters = chapterFileName(s);
  return request;
}

const char* trackType(StreamGroup group) {
  return group == StreamGroup::Video   ? "video"
         : group == StreamGroup::Audio ? "audio"
                                       : "subtitles";
}

// Why `types` (mkvmerge -J's) are not the tracks of the plan; empty when they are.
std::string tracksDiffer(const MuxPlan& plan, const std::vector<std::string>& types) {
  if (types.size() != plan.tracks.size()) {
    return "it holds " + std::to_string(types.size()) + " tracks, not the " +
           std::to_string(plan.tracks.size()) + " handed in";
  }
  for (std::size_t n = 0; n < types.size(); ++n) {
    if (types[n] != trackType(plan.tracks[n])) {
      return "its track " + std::to_string(n) + " is " + types[n] + ", not " +
             trackType(plan.tracks[n]);
    }
  }
  return "";
}

// The Matroska file is there and holds the tracks handed in, or the job fails naming it;
// false when stopped.
bool checkMatroska(Session& s, const MuxPlan& plan, const std::string& output,
                   const MatroskaJson& json) {
  const std::string what = "mkvmerge did not make " + fullPath(output) + ": ";
  const std::string kept = "; the streams are kept.";
  if (!fileExists(output)) throw Error(what + "the file is not there" + kept);
  std::string why;
  try {
    const auto identified = identifyMatroska(s, output);
    if (!identified) return false;
    why = tracksDiffer(plan, json.trackTypes(*identified));
  } catch (const Error& error) {
    why = error.what();
  }
  if (!why.empty()) throw Error(what + why + kept);
  return true;
}

// mkvmerge, the title when it could not travel on mkvmerge's command line, the check;
// false when stopped.
bool makeMatroska(Session& s, const MuxPlan& plan, const std::string& output,
                  const MatroskaJson& json) {
  if (!runMkvmerge(s, plan.arguments, output)) return false;
  if (!plan.titleAfter.empty()) {
    log(s, "Setting the title with mkvpropedit: it begins with \"" + plan.titleAfter.substr(0, 1) +
               "\", which mkvmerge would read as an option.");
    if (!setMatroskaTitle(s, output, plan.titleAfter)) return false;
  }
  return checkMatroska(s, plan, output, json);
}

void runAndTidy(Session& s, const MuxPlan& plan, const std::string& output,
                const std::string& chapters, const MatroskaJson& json) {
  slog(s, "Muxing", 0);
  // What stands at the name is replaced, as an output is: after a failure, what is there
  // is mkvmerge's own incomplete file.
  ::unlink(output.c_str());
  log(s, "Running mkvmerge for " + output);
  if (!makeMatroska(s, plan, output, json)) {
    removeFile(s, output, "Stopped: removed the incomplete ");
    return;
  }
  if (!s.Matroska.keepStreams) {
    for (const std::string& name : plan.consumed) removeFile(s, name, "Removing ");
    if (!chapters.empty()) removeFile(s, chapters, "Removing ");
  }
  log(s, plan.count);
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

// The chapters' language, when the title set names one that is no ISO 639 code: the
// chapter file leaves it out, which the log says.
void noteChapterLanguage(Session& s, const TitleFacts& title) {
  if (title.defaultLanguage.empty() || knownLanguage(title.defaultLanguage)) return;
  log(s, "The chapters' language \"" + validUtf8(title.defaultLanguage) +
             "\" is no ISO 639 code; the chapters have none.");
}

void writeOptionFile(Session& s, const MuxPlan& plan, const MatroskaJson& json) {
  if (!plan.titleAfter.empty()) {
    log(s, "The title is left out of " + s.Matroska.optionFile + ": it begins with \"" +
               plan.titleAfter.substr(0, 1) +
               "\", which mkvmerge would read as an option; mkvpropedit FILE --edit info "
               "--set title=... sets it.");
  }
  writeExtraFile(s, s.Matroska.optionFile, json.optionFile(plan.arguments));
}

void matroskaStep(Session& s, const MatroskaJson& json) {
  const std::string output = matroskaOutput(s);
  if (output.empty()) return;
  if (s.StopRequested) {
    log(s, "No Matroska file: the demux was stopped.");
    return;
  }
  const MuxRequest request = muxRequest(s, output);
  const MuxPlan plan = muxPlan(request, muxSources(s));
  for (const std::string& note : plan.notes) log(s, note);
  if (plan.tracks.empty()) {
    log(s, "No Matroska file: no output can go into " + output + ".");
    return;
  }
  if (const TitleFacts* title = chapteredTitle(s)) {
    noteChapterLanguage(s, *title);
    writeExtraFile(s, request.chapters, matroskaChapters(*title));
  }
  if (!s.Matroska.optionFile.empty() && json.optionFile) {
    writeOptionFile(s, plan, json);
    return;
  }
  runAndTidy(s, plan, output, request.chapters, json);
}

}  // namespace tessaly
