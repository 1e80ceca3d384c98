#include "session/window.h"

namespace tessaly {

Window::Window() {
  for (auto& box : cbVideo) box.caption = "Video stream";
  for (auto& box : cbAudio) box.caption = "Audio stream";
  for (auto& box : cbSub) box.caption = "Subpicture";
  for (std::size_t n = 1; n < cbSub.size(); ++n)
    cbSub[n].hint = "Check the desired subpicture streams";
  cbContinue = {true, true, "Continue with second  EVO",
                "Demux continues with e.g. FEATURE_2.EVO if it exists"};
  cbFastCheck = {true, true, "Fast EVO checking",
                 "Read EVO checks only the first ~300 MB of the file"};
  cbMatroska = {true, false, "Make a Matroska file (needs mkvmerge)",
                "Demux goes on to mux the streams it can into FEATURE_1.mkv with mkvmerge"};
  cbForTools = {true, false, "Outputs for other tools (codec names, WAV, timed subtitles)",
                "Outputs named .vc1, .eac3, .thd ...; LPCM written as a WAV file; subtitles "
                "with their times (.sup, .idx/.sub)"};
  bCancel.enabled = false;
  for (const char* node : {"Video", "Audio", "Subpicture", "Chapter"}) {
    tvXPL.nodes.push_back({node, {}});
  }
  odEVOfile = {"Choose the EVO file to demux", "EVO files|*.EVO", "EVO", "", ""};
  odXPL = {"", "XPL|VPLST000.XPL", "*.xpl", "", ""};
}

std::span<CheckBox> groupBoxes(Window& w, StreamGroup group) {
  switch (group) {
    case StreamGroup::Video:
      return w.cbVideo;
    case StreamGroup::Audio:
      return w.cbAudio;
    case StreamGroup::Sub:
      break;
  }
  return w.cbSub;
}

const Edit& groupExtension(const Window& w, StreamGroup group) {
  switch (group) {
    case StreamGroup::Video:
      return w.eVideoExt;
    case StreamGroup::Audio:
      return w.eAudioExt;
    case StreamGroup::Sub:
      break;
  }
  return w.eSubExt;
}

}  // namespace tessaly
