#include "shell/xpl_choice.h"

#include "shell/file_choice.h"
#include "shell/paths.h"

namespace tessaly {

void XPLadj(Session& s) {
  auto& w = s.fMain;
  s.XPLname = fileNamePart(w.eXPLfile.text);
  s.XPLdir = folderPart(w.eXPLfile.text);
  w.bReadXPL.enabled = !s.XPLname.empty();
  const std::string playlistFolder = "ADV_OBJ/";
  if (endsWith(s.XPLdir, playlistFolder)) {
    s.EVOdir = s.XPLdir.substr(0, s.XPLdir.size() - playlistFolder.size()) + "HVDVD_TS/";
    w.odEVOfile.initialDir = s.EVOdir;
  }
}

void bbXPLClick(Session& s) {
  if (s.busy) return;
  auto& dialog = s.fMain.odXPL;
  dialog.initialDir = s.XPLdir;
  if (s.host.runDialog(dialog)) enterFolderOf(dialog.fileName);
  s.fMain.eXPLfile.text = dialog.fileName;
  XPLadj(s);
}

}  // namespace tessaly
