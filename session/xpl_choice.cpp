#include "session/xpl_choice.h"

#include "platform/paths.h"
#include "session/file_choice.h"

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
  s.fMain.eXPLfile.text = browse(s, s.fMain.odXPL, s.XPLdir);
  XPLadj(s);
}

}  // namespace tessaly
