// Choosing the EVO file: by dialog or by drop, and the shared state derived from it.
#pragma once

#include <string>
#include <vector>

#include "session/session.h"

namespace tessaly {

// Derives EVOname, BaseName, EVOdir and, for a file in an "HVDVD_TS/" folder, the
// playlist in the sibling "ADV_OBJ/" folder from eEVOfile; updates "Read EVO" and
// "Read XPL".
void EVOadj(Session& session);

// Shows odEVOfile at EVOdir and takes its current file name, chosen or not. A chosen
// file's folder becomes the process's current folder.
void bbEVOClick(Session& session);

// Files dropped on the window: the first one is taken when its extension is ".EVO"
// or ".XPL" in any case, and the titles of the disc that holds it are listed. A disc image
// (".ISO" in any case), a disc folder or any other file in one lists the disc's titles
// and shows them; anything else is ignored. Ignored while a job runs.
void WMDropFiles(Session& session, const std::vector<std::string>& paths);

// Shows an open dialog at initialDir and returns its current file name, chosen or not;
// a chosen file's folder becomes the process's current folder, as the dialogs leave it.
std::string browse(Session& session, FileDialog& dialog, const std::string& initialDir);

}  // namespace tessaly
