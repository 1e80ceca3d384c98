// tessaly-cli demux EVO [options]: "Read EVO", the selection, then "Demux".
#include <algorithm>
#include <array>
#include <filesystem>
#include <vector>

#include "cli/cli_host.h"
#include "cli/evo_steps.h"
#include "cli/mkvmerge_options.h"
#include "cli/verbs.h"
#include "job/output_set.h"
#include "mux/matroska_step.h"
#include "mux/text_file.h"
#include "platform/files.h"
#include "report/matroska_tracks.h"
#include "report/report_json.h"
#include "session/demux_click.h"
#include "session/invoke.h"
#include "session/matroska_choice.h"
#include "session/read_xpl_click.h"
#include "session/selection.h"
#include "session/session_report.h"

namespace tessaly::cli {
namespace {

constexpr std::size_t kExtensionLength = 5;  // the extension edits take five characters

struct SelectedBox {
  std::string name;
  CheckBox* box;
};

// True for the boxes that have an output entry: all but cbVideo2..cbVideo7.
bool hasOutput(const Window& w, const CheckBox* box) {
  const auto& slots = OutputSet::jobOrder();
  return std::any_of(slots.begin(), slots.end(),
                     [&](int slot) { return &slotBox(w, slot) == box; });
}

// The boxes named by --select, checked before any job runs.
std::vector<SelectedBox> selectedBoxes(Session& s, const Arguments& arguments) {
  std::vector<SelectedBox> boxes;
  for (const auto& name : splitList(arguments.value("--select"))) {
    CheckBox* box = findBox(s.fMain, name);
    if (!box) throw UsageError("no stream box is named " + name);
    if (!hasOutput(s.fMain, box)) throw UsageError(name + " has no output file");
    boxes.push_back({name, box});
  }
  if (arguments.has("--select") && boxes.empty()) throw UsageError("--select names no box");
  return boxes;
}

// A selected box must stand for a stream that "Read EVO" or "Read XPL" found in `file`.
void requireStreams(const std::vector<SelectedBox>& selected, const std::string& file) {
  for (const auto& [name, box] : selected) {
    if (!box->enabled) throw UsageError(name + " has no stream in " + file);
  }
}

void setExtension(Edit& edit, const Arguments& arguments, const std::string& option) {
  if (!arguments.has(option)) return;
  const std::string extension = arguments.value(option);
  if (extension.size() > kExtensionLength) {
    throw UsageError(option + " takes at most 5 characters");
  }
  edit.text = extension;
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

// --mkv: the job goes on to a Matroska file, or writes mkvmerge's call into an option file.
void applyMatroska(Session& s, const Arguments& arguments) {
  for (const char* option : {"--mkvmerge-options", "--keep-streams"}) {
    if (arguments.has(option) && !arguments.has("--mkv")) {
      throw UsageError(std::string(option) + " goes with --mkv");
    }
  }
  if (!arguments.has("--mkv")) return;
  s.Matroska = {arguments.value("--mkv"), arguments.value("--mkvmerge-options"),
                arguments.has("--keep-streams"), "leave out --mkv"};
  s.FollowUp = {
      [](const Session& session) { return matroskaNames(matroskaRequest(session, nullptr)); },
      [](Session& session) {
        matroskaStep(session, {mkvmergeOptionFile, matroskaTrackTypes});
      },
      {}};
}

void applyOptions(Session& s, const Arguments& arguments) {
  auto& w = s.fMain;
  setExtension(w.eVideoExt, arguments, "--video-ext");
  setExtension(w.eAudioExt, arguments, "--audio-ext");
  setExtension(w.eSubExt, arguments, "--sub-ext");
  w.eWorkdir.text = arguments.value("--out");
  w.cbContinue.ticked = !arguments.has("--no-continue");
  // The operator of a command line sees no boxes: streams that start late must not be
  // missed unless the fast check is asked for.
  if (arguments.has("--fast") && arguments.has("--full")) {
    throw UsageError("--fast and --full exclude each other");
  }
  w.cbFastCheck.ticked = arguments.has("--fast");
  constexpr std::array kSubpictureForms{SubpictureOutputs::Raw, SubpictureOutputs::Timed,
                                        SubpictureOutputs::Pgs};
  s.SubOutputs = kSubpictureForms.at(chosen(arguments, "--subpictures", {"raw", "timed", "pgs"}));
  s.Names = chosen(arguments, "--names", {"described", "codec"}) ? OutputNames::Codec
                                                                 : OutputNames::Described;
  s.Lpcm = chosen(arguments, "--lpcm", {"raw", "wav"}) ? LpcmOutputs::Wav : LpcmOutputs::Raw;
  applyMatroska(s, arguments);
  // The report is written after the job, yet checked with its outputs before any is made.
  if (arguments.has("--report")) s.FollowUp.written = {arguments.value("--report")};
}

// Ticks exactly the given boxes, each change counting as a click.
void tickExactly(Session& s, const std::vector<SelectedBox>& selected) {
  const auto tick = [&](CheckBox& box) {
    const bool named = std::any_of(selected.begin(), selected.end(),
                                   [&](const SelectedBox& item) { return item.box == &box; });
    setTicked(s, box, named);
  };
  std::for_each(s.fMain.cbVideo.begin(), s.fMain.cbVideo.end(), tick);
  std::for_each(s.fMain.cbAudio.begin(), s.fMain.cbAudio.end(), tick);
  std::for_each(s.fMain.cbSub.begin(), s.fMain.cbSub.end(), tick);
}

// Labels the boxes by "Read XPL" when a playlist is given, by "Read EVO" otherwise.
bool labelBoxes(Session& s, const Arguments& arguments) {
  return arguments.has("--xpl") ? invoke(s, bReadXPLClick) : readEVO(s);
}

// --out names a folder that the job writes into: it is created, with its parents.
bool createOutputFolder(Session& s, const std::string& folder) {
  std::error_code error;
  if (folder.empty() || std::filesystem::create_directories(folder, error) || !error) return true;
  s.host.showError("Cannot create folder \"" + fullPath(folder) + "\". " + error.message());
  return false;
}

int runDemux(Session& s, const Arguments& arguments) {
  const std::string evo = singleOperand(arguments, "EVO file");
  const std::vector<SelectedBox> selected = selectedBoxes(s, arguments);
  applyOptions(s, arguments);
  chooseEVO(s, evo);
  if (arguments.has("--xpl")) chooseXPL(s, arguments.value("--xpl"));
  if (!labelBoxes(s, arguments)) return kJobFailed;
  if (interrupted()) return statusAfterJobs(s);  // no new job after a stop signal
  if (arguments.has("--select")) {
    requireStreams(selected, arguments.has("--xpl") ? s.XPLname : s.EVOname);
    tickExactly(s, selected);
  }
  if (!s.fMain.bDemux.enabled) {
    s.host.showError("no stream box is ticked: nothing to demux");
    return kJobFailed;
  }
  if (!createOutputFolder(s, s.fMain.eWorkdir.text)) return kJobFailed;
  if (!invoke(s, bDemuxClick)) return kJobFailed;
  const int status = statusAfterJobs(s);  // a job cut short gets no report
  if (status != kSuccess || !arguments.has("--report")) return status;
  const auto writeReport = [&] {
    writeTextFile(arguments.value("--report"), reportJson(sessionReport(s)));
  };
  return invoke(s, writeReport) ? kSuccess : kJobFailed;
}

}  // namespace

Verb demuxVerb() {
  return {"demux",
          "EVO",
          "Reads EVO as \"Read EVO\" does, then writes every ticked stream to a file of its\n"
          "      own as \"Demux\" does, continuing with e.g. FEATURE_2.EVO after FEATURE_1.EVO.\n"
          "      With --xpl the boxes are labelled by \"Read XPL\" instead of \"Read EVO\".",
          {{"--out", "DIR", "output folder, created when missing (default: the current folder)"},
           {"--select", "BOX,...", "tick exactly these boxes, e.g. cbVideo0,cbAudio03,cbSub12"},
           {"--xpl", "XPL", "label the boxes from this playlist (VPLST000.XPL)"},
           {"--no-continue", "", "do not continue with the second segment"},
           {"--fast", "", "\"Read EVO\" reads only ~300 MB: later streams are missed"},
           {"--full", "", "read the whole file in \"Read EVO\" (the default)"},
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
           {"--lpcm", "MODE", "raw (default), or wav: LPCM as a WAV file"},
           {"--mkv", "OUT.mkv", "then mux the streams into OUT.mkv with mkvmerge"},
           {"--mkvmerge-options", "FILE.json",
            "with --mkv: write mkvmerge's call there (mkvmerge @FILE.json) instead"},
           {"--keep-streams", "", "with --mkv: keep the streams muxed into OUT.mkv"}},
          runDemux};
}

}  // namespace tessaly::cli
