// The Matroska step of "Demux", after its streams: the outputs that mkvmerge can take go
// into one Matroska file (with the playlist title's languages, names, delays and chapters),
// and, once mkvmerge succeeded, are removed unless the request keeps them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "job/demux.h"
#include "mux/mux_plan.h"
#include "platform/job_observer.h"
#include "playlist/title_facts.h"

namespace tessaly {

struct MatroskaRequest {
  std::string output;        // the Matroska file; empty: the step makes nothing
  std::string chapterFile;   // where the title's chapters go, when it has any
  std::string optionFile;    // when set, mkvmerge's call is written there instead of run
  bool keepStreams = false;  // keep the outputs that went into the Matroska file
  // How the operator does without it, for the message when mkvmerge is missing.
  std::string leaveOut;
  const DemuxResult* demux = nullptr;  // what the demux made and found; only the step reads it
  const TitleFacts* title = nullptr;   // the title that plays the EVO file; nullptr: none
};

// The names the step creates (the Matroska file, the chapter file of a title with
// chapters, the option file), for the job's check before any file is made.
std::vector<std::string> matroskaNames(const MatroskaRequest& request);

// Writes `text` into the file `name` (created or truncated), logging "Writing NAME".
void writeExtraFile(JobObserver& observer, const std::string& name, const std::string& text);

// What the step needs of JSON, made outside the core by the front ends.
struct MatroskaJson {
  // The text of mkvmerge's option file (a JSON array of its arguments); nullptr: none is
  // written by this front end.
  std::string (*optionFile)(const std::vector<std::string>& arguments) = nullptr;
  // The type of each track of what `mkvmerge -J` printed ("video", "audio", "subtitles");
  // throws Error when it describes no Matroska file.
  std::vector<std::string> (*trackTypes)(const std::string& identified) = nullptr;
};

// The step. Nothing is made after a stopped demux; with an option file asked for, the
// call is written there instead of being run, the files of the audio parts it names in
// the folder NAME.parts beside NAME.json, which stays. After mkvmerge, the Matroska file must be
// there and hold, as `mkvmerge -J` describes it, the tracks handed in, of their types:
// otherwise the job fails naming the file, and every stream is kept. Streams are removed
// only after that check, and never after a stop. A failure after mkvmerge began removes
// its file ("Failed: removed the incomplete NAME"). Returns the number of warnings the
// programs gave (the log shows the first few), for the front end's last word.
std::size_t matroskaStep(const MatroskaRequest& request, JobObserver& observer,
                         const MatroskaJson& json);

// The step on outputs that another job made, which ended as `end`, described as `sources`
// (a title's, clip by clip): the request's demux is not read.
std::size_t matroskaStep(const MatroskaRequest& request, JobObserver& observer,
                         const MatroskaJson& json, JobEnd end,
                         const std::vector<MuxSource>& sources);

}  // namespace tessaly
