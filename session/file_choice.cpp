#include "session/file_choice.h"

#include <filesystem>
#include <system_error>

#include "disc/disc_folder.h"
#include "engine/program_stream_file.h"
#include "job/output_names.h"
#include "platform/paths.h"
#include "playlist/disc_playlist.h"
#include "session/title_list.h"
#include "session/xpl_choice.h"

namespace tessaly {

void EVOadj(Session& s) {
  auto& w = s.fMain;
  const std::string& path = w.eEVOfile.text;
  w.bCheck.enabled = !path.empty();
  s.EVOname = fileNamePart(path);
  s.BaseName = baseName(s.EVOname);
  s.EVOdir = folderPart(path);
  w.odEVOfile.initialDir = s.EVOdir;
  w.eXPLfile.text = kPlaylistName;
  const std::string playlistFolder = discPlaylistFolder(s.EVOdir);
  if (!playlistFolder.empty()) {
    s.XPLdir = playlistFolder;
    w.odXPL.initialDir = s.XPLdir;
    s.XPLname = kPlaylistName;
    w.odXPL.fileName = s.XPLname;
    w.eXPLfile.text = s.XPLdir + s.XPLname;
  }
  w.bReadXPL.enabled = !s.XPLname.empty();
}

std::string browse(Session& s, FileDialog& dialog, const std::string& initialDir) {
  dialog.initialDir = initialDir;
  if (s.host.runDialog(dialog)) {
    const std::string folder = folderPart(dialog.fileName);
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::current_path(folder, ignored);
  }
  return dialog.fileName;
}

void bbEVOClick(Session& s) {
  if (s.busy) return;
  s.fMain.eEVOfile.text = browse(s, s.fMain.odEVOfile, s.EVOdir);
  EVOadj(s);
}

void WMDropFiles(Session& s, const std::vector<std::string>& paths) {
  if (paths.empty() || s.busy) return;
  const std::string& path = paths.front();
  if (programStreamName(path)) {
    s.fMain.eEVOfile.text = path;
    EVOadj(s);
  } else if (upperExtension(path) == ".XPL") {
    s.fMain.eXPLfile.text = path;
    XPLadj(s);
  } else if (upperExtension(path) == ".ISO" || findDiscFolder(path)) {
    listTitles(s, path);
    s.fMain.PageControl = tsTitles;
    return;
  } else {
    return;
  }
  listTitlesAround(s, path);
}

}  // namespace tessaly
