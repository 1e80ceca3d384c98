// mkvmerge run as a child process: its progress in the status bar, its warnings and
// errors in the log, Cancel (and a stop signal on the command line) stopping it.
#pragma once

#include <string>
#include <vector>

#include "shell/session.h"

namespace tessaly {

// Runs mkvmerge with `arguments` (its own, the program's name left out), writing `output`.
// Returns false when the operator stopped it. Its exit status 1 (warnings) is a success;
// 2, a signal or no mkvmerge in PATH throw, the last "mkvmerge was not found; install
// MKVToolNix (Debian package mkvtoolnix) or " + the request's leaveOut.
bool runMkvmerge(Session& session, const std::vector<std::string>& arguments,
                 const std::string& output);

}  // namespace tessaly
