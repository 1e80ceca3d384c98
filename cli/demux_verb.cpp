// tessaly-cli demux EVO [options]: "Demux" as a request built from the arguments, with
// the outputs found in the one pass over the EVO file or labelled by the playlist first.
#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "catalogue/captions.h"
#include "catalogue/iso639.h"
#include "catalogue/job_report.h"
#include "catalogue/scan.h"
#include "cli/early_checks.h"
#include "cli/evo_steps.h"
#include "cli/mkvmerge_options.h"
#include "cli/stream_selection.h"
#include "cli/verbs.h"
#include "job/break_lines.h"
#include "job/demux.h"
#include "job/output_names.h"
#include "job/output_set.h"
#include "job/vobsub_palette.h"
#include "mux/matroska_step.h"
#include "mux/text_file.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/write_room.h"
#include "playlist/clip_chapters.h"
#include "playlist/disc_playlist.h"
#include "playlist/read_xpl.h"
#include "report/matroska_tracks.h"
#include "report/report_json.h"

namespace tessaly::cli {
namespace {

constexpr std::size_t kExtensionLength = 5;  // as the window's extension edits take them

// The job as the arguments ask for it, before any file is read.
struct DemuxJob {
  std::string evo;  // full path
  std::optional<std::vector<SelectedStream>> selection;
  std::string xpl;        // full path; empty without --xpl and without a playlist beside the disc
  bool xplFound = false;  // the playlist beside the disc, not asked for
  bool fastCheck = false;
  DemuxRequest request;
  MatroskaRequest matroska;  // output empty without --mkv
  std::string report;        // empty without --report
};

// The output of each labelled or scanned stream: the playlist's title and the scan are
// what the window's boxes would show before "Demux".
struct Labels {
  std::map<int, std::string> captions;  // slot -> caption, for the slots with an output entry
  PlaylistFacts playlist;               // empty without --xpl
  std::string baseName;                 // of the EVO file, whose title is looked for
  std::string file;                     // what the labels come from, for the messages

  // The title that plays the EVO file; nullptr for none.
  const TitleFacts* title() const { return playlist.titleFor(baseName); }
};

void setExtension(std::string& extension, const Arguments& arguments, const std::string& option) {
  if (!arguments.has(option)) return;
  extension = arguments.value(option);
  if (extension.size() > kExtensionLength) {
    throw UsageError(option + " takes at most 5 characters");
  }
}

// An option that chooses one of `forms`, the first being the standard one and the default;
// the index of the choice.
std::size_t chosen(const Arguments& arguments, const std::string& option,
                   const std::vector<std::string>& forms) {
  const std::string choice = arguments.value(option, forms.front());
  const auto found = std::find(forms.begin(), forms.end(), choice);
  if (found == forms.end()) {
    std::string list = forms.front();
    for (std::size_t i = 1; i < forms.size(); ++i) {
      list += (i + 1 == forms.size() ? " or " : ", ") + forms[i];
    }
    throw UsageError(option + " takes " + list);
  }
  return static_cast<std::size_t>(found - forms.begin());
}

VobSubPalette vobsubPalette(const Arguments& arguments) {
  const auto palette = parseVobSubPalette(arguments.value("--vobsub-palette"));
  if (!palette) throw UsageError("--vobsub-palette takes 16 hex RGB values: rrggbb,rrggbb,...");
  return *palette;
}

OutputForms outputForms(const Arguments& arguments) {
  constexpr std::array kSubpictureForms{SubpictureOutputs::Raw, SubpictureOutputs::Timed,
                                        SubpictureOutputs::Pgs};
  OutputForms forms;
  forms.subpictures =
      kSubpictureForms.at(chosen(arguments, "--subpictures", {"raw", "timed", "pgs"}));
  forms.names = chosen(arguments, "--names", {"described", "codec"}) ? OutputNames::Codec
                                                                     : OutputNames::Described;
  forms.lpcm = chosen(arguments, "--lpcm", {"raw", "wav"}) ? LpcmOutputs::Wav : LpcmOutputs::Raw;
  // A film leaves nothing out: the forms Matroska takes, unless chosen otherwise.
  if (arguments.has("--mkv") && !arguments.has("--subpictures")) {
    forms.subpictures = kFilmSubpictures;
  }
  if (arguments.has("--mkv") && !arguments.has("--lpcm")) forms.lpcm = kFilmLpcm;
  return forms;
}

// --mkv: the job goes on to a Matroska file, or writes mkvmerge's call into an option file.
MatroskaRequest matroskaRequest(const Arguments& arguments, const std::string& outputBase) {
  for (const char* option : {"--mkvmerge-options", "--keep-streams"}) {
    if (arguments.has(option) && !arguments.has("--mkv")) {
      throw UsageError(std::string(option) + " goes with --mkv");
    }
  }
  if (!arguments.has("--mkv")) return {};
  return {arguments.value("--mkv"), outputBase + ".chapters.xml",
          arguments.value("--mkvmerge-options"), arguments.has("--keep-streams"),
          "leave out --mkv"};
}

// The disc's playlist beside the EVO file's video folder; empty when there is none.
std::string playlistBeside(const std::string& evo) {
  const std::string folder = discPlaylistFolder(folderPart(evo));
  std::error_code error;
  if (folder.empty() || !std::filesystem::is_regular_file(folder + kPlaylistName, error)) return "";
  return folder + kPlaylistName;
}

// --xpl, else the playlist beside the disc unless --no-xpl.
void choosePlaylist(DemuxJob& job, const Arguments& arguments) {
  if (arguments.has("--xpl") && arguments.has("--no-xpl")) {
    throw UsageError("--xpl and --no-xpl exclude each other");
  }
  if (arguments.has("--xpl")) {
    job.xpl = xplFile(arguments.value("--xpl"));
  } else if (!arguments.has("--no-xpl")) {
    job.xpl = playlistBeside(job.evo);
    job.xplFound = !job.xpl.empty();
  }
}

DemuxJob demuxJob(const Arguments& arguments) {
  DemuxJob job;
  job.evo = evoFile(singleOperand(arguments, "EVO file"));
  job.selection = selectedStreams(arguments);
  choosePlaylist(job, arguments);
  // The operator of a command line sees no boxes: streams that start late must not be
  // missed unless the fast check is asked for.
  if (arguments.has("--fast") && arguments.has("--full")) {
    throw UsageError("--fast and --full exclude each other");
  }
  job.fastCheck = arguments.has("--fast");
  DemuxRequest& request = job.request;
  request.segments = demuxSegments(job.evo, !arguments.has("--no-continue"));
  request.outputBase = outputBase(arguments.value("--out"), baseName(fileNamePart(job.evo)));
  setExtension(request.extensions.video, arguments, "--video-ext");
  setExtension(request.extensions.audio, arguments, "--audio-ext");
  setExtension(request.extensions.sub, arguments, "--sub-ext");
  request.forms = outputForms(arguments);
  // Outputs for other tools: each coding of an audio number, and each MPEG audio stream,
  // a file of its own.
  if (request.forms.names == OutputNames::Codec || arguments.has("--mkv")) {
    request.routing = Routing::BySubStream;
  }
  if (arguments.has("--vobsub-palette")) request.vobsubPalette = vobsubPalette(arguments);
  job.matroska = matroskaRequest(arguments, request.outputBase);
  job.report = arguments.value("--report");
  // The film plays every audio frame at its time, and the report says each break.
  request.timing = arguments.has("--mkv") || arguments.has("--report");
  request.checkVideo = arguments.has("--report");
  if (!job.xpl.empty()) request.alsoReads = {job.xpl};
  request.removeUnfinished = true;  // a stream cut off by a full disk is no stream
  return job;
}

// "Read XPL": the title that plays the EVO file labels its streams. Nullopt on failure.
std::optional<Labels> playlistLabels(const DemuxJob& job, CliObserver& observer) {
  const std::string base = baseName(fileNamePart(job.evo));
  XplResult result = readXpl({job.xpl, base, {}, {}, {}}, observer);
  if (!observer.succeeded([&] { rethrowFailure(result.error); })) return std::nullopt;
  endJob(observer);
  Labels labels;
  for (const BoxLabel& label : result.labels) {
    const int slot = slotGroup(label.group).firstSlot + label.number;
    if (OutputSet::hasEntry(slot)) labels.captions[slot] = label.label;
  }
  labels.playlist = std::move(result.facts);
  labels.baseName = base;
  labels.file = fileNamePart(job.xpl);
  return labels;
}

// "Read EVO" before the demux. Nullopt on failure.
std::optional<Labels> scannedLabels(DemuxJob& job, CliObserver& observer) {
  ScanResult result = scanEvo({job.evo, job.fastCheck}, observer);
  if (!observer.succeeded([&] { rethrowFailure(result.error); })) return std::nullopt;
  if (result.end == JobEnd::FastCheckLimit) {
    observer.showError("only the first 300 MB were read (fast check); --full reads the whole file");
  }
  endJob(observer);
  Labels labels;
  for (int slot : OutputSet::jobOrder()) {
    if (result.table[slot] > -1) labels.captions[slot] = StreamCaption(slot, result.table[slot]);
  }
  labels.file = fileNamePart(job.evo);
  job.request.scanned = std::move(result.found.streams);
  return labels;
}

// Every selected stream must be one that was labelled, found or written.
void requireStreams(const std::vector<SelectedStream>& selection, const std::set<int>& found,
                    const std::string& file) {
  for (const SelectedStream& stream : selection) {
    if (!found.count(stream.slot)) throw UsageError(stream.name + " has no stream in " + file);
  }
}

// The outputs up front, in job order: each labelled stream that the selection names.
void requestOutputs(DemuxJob& job, const Labels& labels) {
  std::set<int> labelled;
  for (const auto& [slot, caption] : labels.captions) labelled.insert(slot);
  if (job.selection) requireStreams(*job.selection, labelled, labels.file);
  for (int slot : OutputSet::jobOrder()) {
    if (!labelled.count(slot) || (job.selection && !slotsOf(*job.selection).count(slot))) {
      continue;
    }
    job.request.outputs.push_back({slot, labels.captions.at(slot)});
    const std::string language = playlistLanguage(labels.title(), slot);
    if (knownLanguage(language)) job.request.languages[slot] = language;
  }
}

// The labels of the playlist. A playlist found beside the disc that cannot be read, or
// that has no title for the EVO file, was not asked for: the job goes on without it.
std::optional<Labels> playlistOrNothing(DemuxJob& job, CliObserver& observer) {
  if (job.xplFound) observer.log("Playlist found: " + job.xpl);
  std::optional<Labels> labels = playlistLabels(job, observer);
  if (!job.xplFound || (labels && labels->title())) return labels;
  observer.showError("warning: going on without the playlist " + job.xpl);
  job.xpl.clear();
  job.request.alsoReads.clear();
  return std::nullopt;
}

// How the outputs are found: labelled by the playlist given with --xpl; found by a scan
// first when the subpicture forms need its facts (a stream whose units are too small for
// a timed output is written raw, which only a scan of the whole stream can tell before its
// output is made); otherwise created as the one pass finds their streams. A playlist found
// beside the disc gives the title (its name, chapters and languages) but not the outputs'
// names: its captions follow the title's first clip, which need not be this EVO file's
// (a later clip may carry a stream under another number, or lack it). Nullopt on failure.
std::optional<Labels> chooseOutputs(DemuxJob& job, CliObserver& observer) {
  const auto requested = [&](std::optional<Labels> labels) {
    if (labels) requestOutputs(job, *labels);
    return labels;
  };
  Labels title;
  if (!job.xpl.empty()) {
    std::optional<Labels> labels = playlistOrNothing(job, observer);
    if (!job.xplFound) return requested(std::move(labels));
    if (labels) title = std::move(*labels);
    title.captions.clear();
  }
  if (job.request.forms.subpictures != SubpictureOutputs::Raw) {
    std::optional<Labels> labels = scannedLabels(job, observer);
    if (labels) {
      labels->playlist = std::move(title.playlist);
      labels->baseName = title.baseName;
    }
    return requested(std::move(labels));
  }
  Discovery discovery{job.fastCheck, std::nullopt};
  if (job.selection) discovery.only = slotsOf(*job.selection);
  job.request.discover = discovery;
  return title;
}

bool nothingToDemux(CliObserver& observer) {
  observer.showError("no stream box is ticked: nothing to demux");
  return false;
}

// The demux and the Matroska step; false when either failed.
bool demuxAndMux(DemuxJob& job, DemuxResult& result, CliObserver& observer) {
  result = runDemux(job.request, observer);
  if (!observer.succeeded([&] { rethrowFailure(result.error); })) return false;
  if (job.request.discover && result.end != JobEnd::Stopped) {
    if (result.made.empty()) return nothingToDemux(observer);
    std::set<int> written;
    for (const MadeFile& file : result.made) written.insert(keySlot(file.slot));
    if (job.selection) requireStreams(*job.selection, written, fileNamePart(job.evo));
  }
  job.matroska.demux = &result;
  // The Matroska file holds only the clips that were read: their chapters, from 0.
  std::optional<TitleFacts> demuxed;
  if (job.matroska.title) {
    demuxed = titleOfClips(*job.matroska.title,
                           clipNames({result.found.file, result.found.continuedWith}));
    job.matroska.title = &*demuxed;
  }
  const MatroskaJson json{mkvmergeOptionFile, matroskaTrackTypes};
  std::size_t warnings = 0;
  const auto mux = [&] { warnings = matroskaStep(job.matroska, observer, json); };
  if (!observer.succeeded(mux)) return false;
  endWithWarnings(observer, warnings, job.matroska.output);
  return true;
}

// What is checked before the EVO file's first byte is read: its segments' sizes are what
// the outputs (and the film) take.
EarlyChecks earlyChecks(const DemuxJob& job, const Arguments& arguments) {
  EarlyChecks checks;
  checks.outputFolder = arguments.value("--out");
  const MatroskaRequest& film = job.matroska;
  if (film.optionFile.empty()) checks.film = film.output;
  checks.inputBytes = static_cast<std::int64_t>(filesSize(job.request.segments));
  checks.spaceCheck = !arguments.has("--no-space-check");
  return checks;
}

int runDemuxVerb(CliObserver& observer, const Arguments& arguments) {
  DemuxJob job = demuxJob(arguments);
  if (!observer.succeeded([&] { checkBeforeReading(earlyChecks(job, arguments)); })) {
    return kJobFailed;
  }
  if (!programStreamInput(observer, job.evo)) return kJobFailed;
  const std::optional<Labels> labels = chooseOutputs(job, observer);
  if (!labels) return kJobFailed;
  // The later files (the chapter file once the title is known) are checked with the
  // outputs before any is made.
  job.matroska.title = labels->title();
  job.request.alsoCreates = matroskaNames(job.matroska);
  if (!job.report.empty()) job.request.alsoCreates.push_back(job.report);
  if (interrupted()) return statusAfterJobs(observer);  // no new job after a stop signal
  if (!job.request.discover && job.request.outputs.empty()) {
    nothingToDemux(observer);
    return kJobFailed;
  }
  if (!createOutputFolder(observer, arguments.value("--out"))) return kJobFailed;
  DemuxResult result;
  if (!demuxAndMux(job, result, observer)) return kJobFailed;
  const int status = statusAfterJobs(observer);  // a job cut short gets no report
  if (status != kSuccess || job.report.empty()) return status;
  const auto writeReport = [&] {
    const StreamBreaks breaks = result.timing ? jobBreaks(*result.timing) : StreamBreaks{};
    writeTextFile(
        job.report,
        reportJson(jobReport(result.found, labels->title(), labels->playlist.file), breaks));
  };
  return observer.succeeded(writeReport) ? kSuccess : kJobFailed;
}

}  // namespace

Verb demuxVerb() {
  return {"demux",
          "EVO",
          "Writes every stream of EVO to a file of its own as \"Demux\" does, continuing\n"
          "      with e.g. FEATURE_2.EVO after FEATURE_1.EVO, in one read of each file; the\n"
          "      outputs are named as \"Read EVO\" captions their streams, or by --xpl.",
          {{"--out", "DIR", "output folder, created when missing (default: the current folder)"},
           {"--select", "STREAM,...",
            "write only these streams: box names (cbVideo0,cbAudio03,cbSub12) or\n"
            "                        group and number as the EVO counts (video0,audio3,sub12)"},
           {"--xpl", "XPL",
            "name the outputs from this playlist; without it, ../ADV_OBJ/VPLST000.XPL\n"
            "                        beside the EVO's HVDVD_TS folder gives the title, its\n"
            "                        chapters and languages, the streams naming the outputs"},
           {"--no-xpl", "", "do not look for the playlist beside the disc"},
           {"--no-continue", "", "do not continue with the second segment"},
           {"--fast", "", "look for streams in the first ~300 MB only: later streams are missed"},
           {"--full", "", "look for streams in the whole file (the default)"},
           {"--report", "FILE", "write the report (JSON) of the demux to FILE"},
           {"--video-ext", "E", "video output extension (default mpv, at most 5 characters)"},
           {"--audio-ext", "E", "audio output extension (default mpa)"},
           {"--sub-ext", "E", "subpicture output extension (default sup)"},
           {"--subpictures", "MODE",
            "raw (default), or timed: units with time stamps, as .sup or .idx/.sub,\n"
            "                        or pgs: HD units as presentation graphics (.pgs.sup)"},
           {"--names", "MODE",
            "described (default), or codec: extensions .m2v .h264 .vc1 .ac3 .eac3 .dts\n"
            "                        .thd .pcm/.wav .sup"},
           {"--lpcm", "MODE", "raw (default; wav with --mkv), or wav: LPCM as a WAV file"},
           {"--vobsub-palette", "RGB,...",
            "the VobSub index's 16 colours (default: white fill, black outline)"},
           {"--mkv", "OUT.mkv",
            "then mux the streams into OUT.mkv with mkvmerge (subpictures pgs, lpcm wav\n"
            "                        unless chosen)"},
           {"--mkvmerge-options", "FILE.json",
            "with --mkv: write mkvmerge's call there (mkvmerge @FILE.json) instead;\n"
            "                        audio cut at its breaks goes into FILE.parts beside it"},
           {"--keep-streams", "", "with --mkv: keep the streams muxed into OUT.mkv"},
           {"--no-space-check", "",
            "go on when the free space looks too small for the outputs (and the film)"}},
          runDemuxVerb};
}

}  // namespace tessaly::cli
