// The window's outer geometry and state as the settings keep them.
#pragma once

#include <QRect>

#include "session/window.h"

class QWidget;

namespace tessaly::app {

// Fits a stored outer geometry to the screen: the size is held between `minimum` and the
// screen's `available` area; a window that does not lie within `view` (the area of all
// screens) is moved into `available`, and one that does keeps its place. Stored values
// are any 32-bit numbers.
QRect fitToScreen(const Geometry& stored, QSize minimum, QRect available, QRect view);

// Puts the window at the record's outer geometry, fitted to its screen, then gives it the
// record's state.
void applyWindowRecord(QWidget& window, const Geometry& geometry);
// Takes the window's state and, unless it is maximised, its outer geometry.
void captureWindowRecord(const QWidget& window, Geometry& geometry);

}  // namespace tessaly::app
