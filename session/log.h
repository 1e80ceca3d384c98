// The two channels through which every job reports: the log and the status bar.
#pragma once

#include <string>

#include "platform/visible_text.h"
#include "session/session.h"

namespace tessaly {

// Appends one line to the log (mMessage) and shows it at once.
void log(Session& session, const std::string& text);

// Sets status panel 0 or 1 to " " + text and repaints the status bar at once;
// panel 1's text (without the space) also becomes the status bar's hint.
void slog(Session& session, const std::string& text, int panel);

}  // namespace tessaly
