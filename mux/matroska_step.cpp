#include "mux/matroska_step.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "catalogue/iso639.h"
#include "catalogue/job_report.h"
#include "job/output_set.h"
#include "mux/mkvmerge_run.h"
#include "mux/mux_plan.h"
#include "mux/text_file.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/scratch_folder.h"
#include "platform/utf8_text.h"
#include "playlist/chapter_files.h"
#include "playlist/xml_tag.h"

namespace tessaly {
namespace {

bool emptyFile(const std::string& name) {
  struct stat info {};
  return ::stat(name.c_str(), &info) == 0 && info.st_size == 0;
}

// A text of the disc for the Matroska file: mkvmerge takes UTF-8 only, so invalid bytes
// become U+FFFD, which the log says.
std::string utf8Value(JobObserver& o, const std::string& what, const std::string& value) {
  std::string valid = validUtf8(value);
  if (valid != value) {
    o.log(what + " is not valid UTF-8: the Matroska file has U+FFFD for its invalid bytes.");
  }
  return valid;
}

// What the writing pass and the playlist give a stream: its delay after video stream 0,
// its description, channels and language.
void addStreamFacts(JobObserver& o, MuxSource& source, const StreamEntry& entry) {
  source.delayMs = entry.delayMs;
  source.description =
      utf8Value(o, "The description of track " + source.name, entry.description.value_or(""));
  source.units = entry.unitFacts;
  source.channels = entry.channels;
  source.langcodeExtension = entry.langcodeExtension;
  const std::string language = entry.language.value_or("");
  // Anything but an ISO 639 code would make mkvmerge refuse the whole call.
  if (const auto code = matroskaLanguage(language)) {
    source.language = *code;
  } else if (!language.empty()) {
    o.log("Track " + source.name + ": the playlist's language \"" + language +
          "\" is no ISO 639 code; the track has none.");
  }
}

// The parts of the audio stream of output `key` that the demux timed, each at its disc
// time after video stream 0's first picture, and LPCM's format; none for a stream not timed.
void addTiming(MuxSource& source, const DemuxResult& demux, int key) {
  if (!demux.timing) return;
  for (const AudioStreamTiming& stream : demux.timing->streams) {
    if (stream.slot == key && stream.walked) {
      source.parts = matroskaParts(stream.timeline, delayZero(*demux.timing, stream));
      source.lpcm = stream.lpcm;
    }
  }
}

// The job's outputs in job order (video, audio by number, subpictures), each with what
// it made and what the job learnt of its stream.
std::vector<MuxSource> muxSources(const MatroskaRequest& r, JobObserver& o) {
  const DemuxResult& demux = *r.demux;
  const JobReport report = jobReport(demux.found, r.title, "");
  std::vector<MuxSource> sources;
  for (int key : OutputSet::keyOrder()) {
    MuxSource source;
    for (const MadeFile& file : demux.made) {
      if (file.slot == key) source.files.push_back(file);
    }
    if (source.files.empty()) continue;
    const int slot = keySlot(key);
    source.group = groupOfSlot(slot)->group;
    // The job's first value: a later segment may lack the stream.
    source.codec = demux.found.streams[key].value;
    source.empty = emptyFile(source.files.front().name);
    // The caption keeps the playlist's character references; the track's name is the text.
    const std::string& caption = demux.found.captions.at(key);
    source.name = utf8Value(o, "The name of track " + caption, decodedReferences(caption));
    const auto entry = std::find_if(report.streams.begin(), report.streams.end(),
                                    [slot](const StreamEntry& e) { return e.slot == slot; });
    if (entry != report.streams.end()) addStreamFacts(o, source, *entry);
    addTiming(source, demux, key);
    // A routed key's packets are its own: their delay, not the number's.
    if (key != slot) source.delayMs = delayMs(demux.found.streams, key);
    sources.push_back(std::move(source));
  }
  return sources;
}

// Removes a file; a file that cannot be removed is said in the log, not an error: the
// Matroska file is made.
void removeFile(JobObserver& o, const std::string& name, const std::string& line) {
  if (::unlink(name.c_str()) == 0 || errno == ENOENT) {
    o.log(line + name);
  } else {
    o.log("Cannot remove " + name + ": " + std::strerror(errno));
  }
}

// The title that plays the EVO file, when it has chapters to go into the Matroska file.
const TitleFacts* chapteredTitle(const MatroskaRequest& r) {
  return r.title && !r.title->chapters.empty() ? r.title : nullptr;
}

MuxRequest muxRequest(const MatroskaRequest& r, JobObserver& o) {
  MuxRequest request{r.output, "", "", "", ""};
  if (r.title) {
    request.title = utf8Value(o, "The title's name", r.title->name);
    request.videoLanguage = matroskaLanguage(r.title->defaultLanguage).value_or("");
  }
  if (chapteredTitle(r)) request.chapters = r.chapterFile;
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
bool checkMatroska(const MatroskaRequest& r, JobObserver& o, const MuxPlan& plan,
                   const MatroskaJson& json) {
  const std::string what = "mkvmerge did not make " + fullPath(r.output) + ": ";
  const std::string kept = "; the streams are kept.";
  if (!fileExists(r.output)) throw Error(what + "the file is not there" + kept);
  std::string why;
  try {
    const auto identified = identifyMatroska(o, r.output, r.leaveOut);
    if (!identified) return false;
    why = tracksDiffer(plan, json.trackTypes(*identified));
  } catch (const Error& error) {
    why = error.what();
  }
  if (!why.empty()) throw Error(what + why + kept);
  return true;
}

// mkvmerge, the title when it could not travel on mkvmerge's command line, the check; the
// warnings of both programs, nullopt when stopped.
std::optional<std::size_t> makeMatroska(const MatroskaRequest& r, JobObserver& o,
                                        const MuxPlan& plan, const MatroskaJson& json) {
  const auto warnings = runMkvmerge(o, plan.arguments, r.output, r.leaveOut);
  if (!warnings) return std::nullopt;
  std::size_t titleWarnings = 0;
  if (!plan.titleAfter.empty()) {
    o.log("Setting the title with mkvpropedit: it begins with \"" + plan.titleAfter.substr(0, 1) +
          "\", which mkvmerge would read as an option.");
    const auto set = setMatroskaTitle(o, r.output, plan.titleAfter, r.leaveOut);
    if (!set) return std::nullopt;
    titleWarnings = *set;
  }
  if (!checkMatroska(r, o, plan, json)) return std::nullopt;
  return *warnings + titleWarnings;
}

// mkvmerge's file after a failure is half made: it goes, the streams stay.
std::optional<std::size_t> makeOrRemove(const MatroskaRequest& r, JobObserver& o,
                                        const MuxPlan& plan, const MatroskaJson& json) {
  try {
    return makeMatroska(r, o, plan, json);
  } catch (...) {
    if (fileExists(r.output)) removeFile(o, r.output, "Failed: removed the incomplete ");
    throw;
  }
}

std::size_t runAndTidy(const MatroskaRequest& r, JobObserver& o, const MuxPlan& plan,
                       const std::string& chapters, const MatroskaJson& json) {
  o.status(0, "Muxing");
  // What stands at the name is replaced, as an output is: after a failure, what is there
  // is mkvmerge's own incomplete file.
  ::unlink(r.output.c_str());
  o.log("Running mkvmerge for " + r.output);
  const auto warnings = makeOrRemove(r, o, plan, json);
  if (!warnings) {
    removeFile(o, r.output, "Stopped: removed the incomplete ");
    return 0;
  }
  if (!r.keepStreams) {
    for (const std::string& name : plan.consumed) removeFile(o, name, "Removing ");
    if (!chapters.empty()) removeFile(o, chapters, "Removing ");
  }
  o.log(plan.count);
  return *warnings;
}

// The chapters' language, when the title set names one that is no ISO 639 code: the
// chapter file leaves it out, which the log says.
void noteChapterLanguage(JobObserver& o, const TitleFacts& title) {
  if (title.defaultLanguage.empty() || knownLanguage(title.defaultLanguage)) return;
  o.log("The chapters' language \"" + validUtf8(title.defaultLanguage) +
        "\" is no ISO 639 code; the chapters have none.");
}

void writeOptionFile(const MatroskaRequest& r, JobObserver& o, const MuxPlan& plan,
                     const MatroskaJson& json) {
  if (!plan.titleAfter.empty()) {
    o.log("The title is left out of " + r.optionFile + ": it begins with \"" +
          plan.titleAfter.substr(0, 1) +
          "\", which mkvmerge would read as an option; mkvpropedit FILE --edit info "
          "--set title=... sets it.");
  }
  writeExtraFile(o, r.optionFile, json.optionFile(plan.arguments));
}

// Nothing is made after a stopped demux.
bool stopped(JobEnd end, JobObserver& o) {
  if (end != JobEnd::Stopped) return false;
  o.log("No Matroska file: the demux was stopped.");
  return true;
}

bool hasBreaks(const std::vector<MuxSource>& sources) {
  return std::any_of(sources.begin(), sources.end(),
                     [](const MuxSource& s) { return s.parts.size() > 1; });
}

// A part's file, cut from its output after its own header.
void writePart(const PartFile& part) {
  InputFile input(part.from, Access::Shared);
  OutputFile output(part.path);
  output.write(part.header.data(), part.header.size());
  // A file shorter than its stream was gives what it holds.
  input.readRange(part.begin, part.end, [&output](const std::uint8_t* data, std::size_t size) {
    output.write(data, size);
    return true;
  });
  output.close();
}

// A folder at `name`, made when missing; a folder already there is taken (not a link).
void makeFolder(const std::string& name) {
  if (::mkdir(name.c_str(), 0777) == 0) return;
  const int error = errno;
  struct stat info {};
  if (error == EEXIST && ::lstat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return;
  throw Error("Cannot create the folder \"" + fullPath(name) +
              "\": " + (error == EEXIST ? "something else is there" : std::strerror(error)));
}

// The folder of the parts that an option file's call reads: NAME.parts beside NAME.json
// (or beside any other NAME); it stays for the user's mkvmerge.
std::string optionPartsFolder(const MatroskaRequest& r, JobObserver& o) {
  std::string name = r.optionFile;
  if (endsWith(name, ".json")) name.resize(name.size() - 5);
  name += ".parts";
  makeFolder(name);
  o.log("Writing the audio parts that " + fileNamePart(r.optionFile) + " reads into " + name);
  return name;
}

std::size_t muxStep(const MatroskaRequest& r, JobObserver& o, const MatroskaJson& json,
                    const std::vector<MuxSource>& sources) {
  MuxRequest request = muxRequest(r, o);
  // The parts' files, beside the Matroska file in a folder of the step's own, removed
  // with it; for an option file's call, in a folder that stays beside it.
  const bool optionFile = !r.optionFile.empty() && json.optionFile;
  std::optional<ScratchFolder> parts;
  if (optionFile && hasBreaks(sources)) {
    request.partsFolder = optionPartsFolder(r, o);
  } else if (hasBreaks(sources)) {
    parts.emplace(folderPart(fullPath(r.output)), "parts");
    request.partsFolder = parts->path();
  }
  const MuxPlan plan = muxPlan(request, sources);
  for (const std::string& note : plan.notes) o.log(note);
  if (plan.tracks.empty()) {
    o.log("No Matroska file: no output can go into " + r.output + ".");
    return 0;
  }
  if (const TitleFacts* title = chapteredTitle(r)) {
    noteChapterLanguage(o, *title);
    writeExtraFile(o, request.chapters, matroskaChapters(*title));
  }
  for (const PartFile& part : plan.parts) writePart(part);
  if (optionFile) {
    writeOptionFile(r, o, plan, json);
    return 0;
  }
  return runAndTidy(r, o, plan, request.chapters, json);
}

}  // namespace

std::vector<std::string> matroskaNames(const MatroskaRequest& r) {
  if (r.output.empty()) return {};
  std::vector<std::string> names{r.output};
  if (chapteredTitle(r)) names.push_back(r.chapterFile);
  if (!r.optionFile.empty()) names.push_back(r.optionFile);
  return names;
}

void writeExtraFile(JobObserver& o, const std::string& name, const std::string& text) {
  o.log("Writing " + name);
  writeTextFile(name, text);
}

std::size_t matroskaStep(const MatroskaRequest& r, JobObserver& o, const MatroskaJson& json) {
  if (r.output.empty() || stopped(r.demux->end, o)) return 0;
  return muxStep(r, o, json, muxSources(r, o));
}

std::size_t matroskaStep(const MatroskaRequest& r, JobObserver& o, const MatroskaJson& json,
                         JobEnd end, const std::vector<MuxSource>& sources) {
  if (r.output.empty() || stopped(end, o)) return 0;
  return muxStep(r, o, json, sources);
}

}  // namespace tessaly
