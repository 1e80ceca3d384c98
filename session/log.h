// The two channels through which every job reports: the log and the status bar.
#pragma once

#include <string>

#include "session/session.h"

namespace tessaly {

// `text` with its control characters (C0, DEL and, in UTF-8, C1) shown as \xHH: a file
// name holding ESC, BEL or a line break cannot drive the operator's terminal or forge a
// log line. Every text of the log, the status bar and the error messages passes here.
std::string visibleText(const std::string& text);

// Appends one line to the log (mMessage) and shows it at once.
void log(Session& session, const std::string& text);

// Sets status panel 0 or 1 to " " + text and repaints the status bar at once;
// panel 1's text (without the space) also becomes the status bar's hint.
void slog(Session& session, const std::string& text, int panel);

}  // namespace tessaly
