// The window's state as plain records named after its controls. The Qt window and
// the command line mirror them; the handlers read and write only these.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "catalogue/box_names.h"
#include "engine/stream_slots.h"
#include "playlist/xpl_tree.h"

namespace tessaly {

struct Button {
  bool enabled = false;
};

struct CheckBox {
  bool enabled = false;
  bool ticked = false;
  std::string caption;
  std::string hint;
};

struct Edit {
  std::string text;
};

struct Memo {
  std::vector<std::string> lines;
  bool visible = true;
};

struct TreeView {
  std::vector<TreeNode> nodes;
  int width = 96;
};

struct FileDialog {
  std::string title;
  std::string filter;  // "Caption|pattern"
  std::string defaultExt;
  std::string initialDir;
  std::string fileName;  // the dialog's current file name
};

struct StatusBar {
  std::array<std::string, 2> panels{" Ready", " Select or drop an EVO file to demux"};
  std::string hint = " Select or drop an EVO file to demux";
};

// A title of the disc on the titles page, as it is shown.
struct TitleRow {
  std::string playlist;  // VPLSTnnn.XPL
  std::string number;
  std::string name;
  std::string duration;  // "1:42:27"
  std::string clips;     // "2: FEATURE_1.EVO, FEATURE_2.EVO"
  std::string kind;      // "main feature", "extra" or empty
  std::string hint;      // the path of each clip's EVO, a line each

  bool operator==(const TitleRow&) const = default;
};

// The titles of every playlist of the disc, the boot playlist first.
struct TitleList {
  std::string disc;  // the disc's HVDVD_TS ("IMAGE.iso:/HVDVD_TS" in an image)
  std::vector<TitleRow> rows;
  int selected = -1;  // the row chosen; -1 for none
};

// Outer geometry of the window as the settings store it.
struct Geometry {
  int top = 0;
  int left = 0;
  int width = 370;
  int height = 380;
  int windowState = 0;  // 0 normal, 1 minimised, 2 maximised
};

// Page indexes of PageControl, in tab order.
enum Page : int { tsStatus = 0, tsVideo, tsAudio, tsSubpicture, tsXPL, tsTitles, tsOption };

struct Window {
  Window();

  Edit eEVOfile;
  Edit eXPLfile;
  Button bCheck;
  Button bReadXPL;
  Button bDemux;
  Button bCancel;
  int PageControl = tsStatus;  // the page shown

  std::array<CheckBox, kVideoBoxes> cbVideo;  // cbVideo0 .. cbVideo7
  std::array<CheckBox, kAudioBoxes> cbAudio;  // cbAudio00 .. cbAudio15
  std::array<CheckBox, kSubBoxes> cbSub;      // cbSub00 .. cbSub15

  Memo mMessage;  // the log
  Memo mXPL;
  TreeView tvXPL;
  TitleList lvTitles;  // bDemuxTitle demuxes its selected title

  Edit eVideoExt{"mpv"};
  Edit eAudioExt{"mpa"};
  Edit eSubExt{"sup"};
  Edit eWorkdir;
  CheckBox cbContinue;
  CheckBox cbFastCheck;
  CheckBox cbMatroska;  // Demux goes on to a Matroska file through mkvmerge
  CheckBox cbForTools;  // outputs for other tools: names by codec, LPCM as WAV, timed subpictures

  StatusBar statusBar;
  FileDialog odEVOfile;
  FileDialog odXPL;
  Geometry geometry;
};

// The stream boxes of a slot group, and the edit that holds its outputs' extension.
std::span<CheckBox> groupBoxes(Window& window, StreamGroup group);
const Edit& groupExtension(const Window& window, StreamGroup group);

}  // namespace tessaly
