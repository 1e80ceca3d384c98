// "Demux" as a request and its result: the streams of an EVO file (and of the segments that
// continue it) each written into an output of its own.
#pragma once

#include <exception>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "audio/job_timing.h"
#include "catalogue/findings.h"
#include "engine/disc_files.h"
#include "engine/output_keys.h"
#include "engine/stream_slots.h"
#include "job/output_forms.h"
#include "job/vobsub_palette.h"
#include "platform/job_observer.h"

namespace tessaly {

// One stream's output, keyed by its stream-table slot (one of the 34 with an output entry),
// or by a routed audio key (engine/output_keys.h). Routed by sub-stream id, an audio slot
// stands for every coding of its number: the first met takes the caption, the others are
// captioned as "Read EVO" would caption them; each MPEG audio stream has an output too.
struct OutputRequest {
  int slot = 0;
  std::string caption;  // names its files: outputBase.caption.extension
};

// Outputs for the streams the first segment shows, each created when its stream is found
// and captioned as "Read EVO" would caption it ("... found!" logged before it).
struct Discovery {
  bool fastCheck = false;             // only streams found within its first ~300 MB
  std::optional<std::set<int>> only;  // the slots to write; all with an output entry if none
};

struct DemuxRequest {
  // The EVO files in title order. The first is opened ("Opening file", "File size"), each
  // later one after the one before ended, unless the job was stopped, the observer says no
  // or the file no longer exists ("Continue on NAME"). The outputs run on across them.
  std::vector<std::string> segments;
  const DiscFiles* files = &folderFiles();  // where the segments are: on disk, or in an image
  std::string outputBase;                   // folder and base name of the outputs
  Extensions extensions;
  OutputForms forms;
  // By sub-stream id: each coding of an audio number, and each MPEG audio stream, has an
  // output of its own (for the tools that read them); by number as "Demux" routes.
  Routing routing = Routing::ByNumber;
  std::vector<OutputRequest> outputs;  // created before the first pass, in this order
  std::optional<Discovery> discover;   // instead of `outputs`
  // Files a later step makes (the Matroska file, the report), checked with the outputs'.
  std::vector<std::string> alsoCreates;
  // Further files the job reads or was labelled from (the playlist), which no output may be.
  std::vector<std::string> alsoReads;
  std::map<int, std::string> languages;            // slot -> ISO 639 code, for the VobSub index
  VobSubPalette vobsubPalette = kReadablePalette;  // the VobSub index's colours
  // When the job fails, the files of the outputs it could not finish (open when the error
  // came, or whose last write failed) are removed, each said in the log: "Removed the
  // unfinished NAME". Otherwise they keep what was written.
  bool removeUnfinished = false;
  // What a scan found of the streams before (none when it did not run): a subpicture
  // stream whose units are too small for a timed output's bound is written raw.
  StreamFactsTable scanned;
  // Every audio stream's frames walked and timed as its output is written (the Matroska
  // file's parts, the breaks' warnings and the report's): a few per cent of a pass.
  bool timing = false;
  // With `timing`, MPEG-2 video stream 0 checked against its pictures' timing as well:
  // about a tenth of a pass.
  bool checkVideo = false;
  // With `timing`, each break is said in the log as the job ends; false: the caller says
  // them (a title's clip, whose breaks the title says on its own time line).
  bool sayBreaks = true;
};

struct DemuxResult {
  JobEnd end = JobEnd::Complete;
  std::exception_ptr error;    // what ended a failed job
  SlotTable table;             // as the last pass left it
  Findings found;              // over every segment
  std::vector<MadeFile> made;  // in the order made
  // With the request's `timing`: the times of every audio stream written, each break in
  // them said in the log as it ends the job.
  std::optional<JobTimingResult> timing;
};

// The segments of a job on `path`: the file, then, when `continued` and the file is the
// first of a numbered pair, the second one (FEATURE_1.EVO continues in FEATURE_2.EVO).
std::vector<std::string> demuxSegments(const std::string& path, bool continued);

// Removes a file that a failure left unfinished: "Removed the unfinished NAME", or why it
// could not be removed.
void removeUnfinishedFile(JobObserver& observer, const std::string& name);

// Runs the job; every output is closed when it returns. Never throws: a failure is the
// result's, with what was made before it. The front end ends the job (endJob) once every
// step it adds is done.
DemuxResult runDemux(const DemuxRequest& request, JobObserver& observer);

}  // namespace tessaly
