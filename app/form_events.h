// The window's own events: shown, activated, closed.
#pragma once

#include "shell/session.h"

class QWidget;

namespace tessaly::app {

class TfMain;

// The window is shown: from now on it takes dropped files.
void FormShow(TfMain& window);
// The window became active: loads the settings, then resets the stream boxes (one
// handler through invoke(), so a failed load skips the reset), and shows what was
// loaded. Skipped while a job runs: closing its question box must not reset its boxes.
void FormActivate(Session& session, TfMain& window);
// The window closes: its normal geometry (when not maximised), state and tree width go
// into the records, then the settings are saved.
void FormClose(Session& session, TfMain& window);

// Puts the window at the record's outer geometry, then gives it the record's state.
void applyWindowRecord(QWidget& window, const Geometry& geometry);
// Takes the window's state and, unless it is maximised, its outer geometry.
void captureWindowRecord(const QWidget& window, Geometry& geometry);

}  // namespace tessaly::app
