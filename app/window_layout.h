// Builds fMain's controls at their designed places (left, top, width, height in a
// 362 x 346 client area) with their names, texts and hints.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>

#include "app/anchors.h"
#include "session/window.h"

namespace tessaly::app {

class TfMain;

// The client size the designed places are given for; also the least it may shrink to
// (370 x 380 outside with the 4-pixel borders and the caption the design assumed).
constexpr QSize kClientSize{362, 346};

// Tahoma 8 pt where installed, else the platform's user-interface font at 8 pt.
QFont windowFont();
// A hint as a tooltip shows it: the part before "|" (the rest is the long form).
QString shortHint(const char* hint);

// fMain is built in the order the Tab key visits its controls: the two file rows, the
// pages, then the bottom row.
// The two file rows.
void buildFileRows(TfMain& window, AnchorLayout& anchors);
// The three bottom controls and the status bar.
void buildBottomRow(TfMain& window, AnchorLayout& anchors);
// PageControl with its seven pages; the boxes and options start from the records.
void buildPages(TfMain& window, const Window& records, AnchorLayout& anchors);
// The "Options" page.
void buildOptionsPage(TfMain& window, const Window& records);

// A new child control with its object name and tooltip.
template <typename Control>
Control* makeControl(QWidget* parent, const char* name, const QString& hint = {}) {
  auto* control = new Control(parent);
  control->setObjectName(name);
  if (!hint.isEmpty()) control->setToolTip(hint);
  return control;
}

}  // namespace tessaly::app
