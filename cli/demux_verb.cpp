// tessaly-cli demux EVO [options]: "Read EVO", the selection, then "Demux".
#include <algorithm>

#include "catalogue/selection.h"
#include "cli/cli_host.h"
#include "cli/evo_steps.h"
#include "cli/verbs.h"
#include "job/demux_job.h"
#include "playlist/read_xpl.h"
#include "shell/invoke.h"

namespace tessaly::cli {
namespace {

constexpr std::size_t kExtensionLength = 5;  // the extension edits take five characters

// The boxes named by --select, checked before any job runs.
std::vector<CheckBox*> selectedBoxes(Session& s, const Arguments& arguments) {
  std::vector<CheckBox*> boxes;
  for (const auto& name : splitList(arguments.value("--select"))) {
    CheckBox* box = findBox(s.fMain, name);
    if (!box) throw UsageError("no stream box is named " + name);
    boxes.push_back(box);
  }
  if (arguments.has("--select") && boxes.empty()) throw UsageError("--select names no box");
  return boxes;
}

void setExtension(Edit& edit, const Arguments& arguments, const std::string& option) {
  if (!arguments.has(option)) return;
  const std::string extension = arguments.value(option);
  if (extension.size() > kExtensionLength) {
    throw UsageError(option + " takes at most 5 characters");
  }
  edit.text = extension;
}

void applyOptions(Session& s, const Arguments& arguments) {
  auto& w = s.fMain;
  setExtension(w.eVideoExt, arguments, "--video-ext");
  setExtension(w.eAudioExt, arguments, "--audio-ext");
  setExtension(w.eSubExt, arguments, "--sub-ext");
  w.eWorkdir.text = arguments.value("--out");
  w.cbContinue.ticked = !arguments.has("--no-continue");
  w.cbFastCheck.ticked = !arguments.has("--full");
}

// Ticks exactly the given boxes, each change counting as a click.
void tickExactly(Session& s, const std::vector<CheckBox*>& selected) {
  const auto tick = [&](CheckBox& box) {
    setTicked(s, box, std::find(selected.begin(), selected.end(), &box) != selected.end());
  };
  std::for_each(s.fMain.cbVideo.begin(), s.fMain.cbVideo.end(), tick);
  std::for_each(s.fMain.cbAudio.begin(), s.fMain.cbAudio.end(), tick);
  std::for_each(s.fMain.cbSub.begin(), s.fMain.cbSub.end(), tick);
}

// Labels the boxes by "Read XPL" when a playlist is given, by "Read EVO" otherwise.
bool labelBoxes(Session& s, const Arguments& arguments) {
  return arguments.has("--xpl") ? invoke(s, bReadXPLClick) : readEVO(s);
}

int runDemux(Session& s, const Arguments& arguments) {
  const std::string evo = singleOperand(arguments, "EVO file");
  const std::vector<CheckBox*> selected = selectedBoxes(s, arguments);
  applyOptions(s, arguments);
  chooseEVO(s, evo);
  if (arguments.has("--xpl")) chooseXPL(s, arguments.value("--xpl"));
  if (!labelBoxes(s, arguments)) return kJobFailed;
  if (interrupted()) return statusAfterJobs(s);  // no new job after a Ctrl-C
  if (arguments.has("--select")) tickExactly(s, selected);
  if (!s.fMain.bDemux.enabled) {
    s.host.showError("no stream box is ticked: nothing to demux");
    return kJobFailed;
  }
  return invoke(s, bDemuxClick) ? statusAfterJobs(s) : kJobFailed;
}

}  // namespace

Verb demuxVerb() {
  return {"demux",
          "EVO",
          "Reads EVO as \"Read EVO\" does, then writes every ticked stream to a file of its\n"
          "      own as \"Demux\" does, continuing with e.g. FEATURE_2.EVO after FEATURE_1.EVO.\n"
          "      With --xpl the boxes are labelled by \"Read XPL\" instead of \"Read EVO\".",
          {{"--out", "DIR", "output folder (default: the current folder)"},
           {"--select", "BOX,...", "tick exactly these boxes, e.g. cbVideo0,cbAudio03,cbSub12"},
           {"--xpl", "XPL", "label the boxes from this playlist (VPLST000.XPL)"},
           {"--no-continue", "", "do not continue with the second segment"},
           {"--full", "", "read the whole file in \"Read EVO\""},
           {"--video-ext", "E", "video output extension (default mpv, at most 5 characters)"},
           {"--audio-ext", "E", "audio output extension (default mpa)"},
           {"--sub-ext", "E", "subpicture output extension (default sup)"}},
          runDemux};
}

}  // namespace tessaly::cli
