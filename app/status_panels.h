// StatusBar: two panels that show the status record, written through slog.
#pragma once

#include <QStatusBar>
#include <array>

#include "app/repaint_pace.h"
#include "shell/window.h"

class QLabel;

namespace tessaly::app {

class StatusPanels : public QStatusBar {
 public:
  explicit StatusPanels(QWidget* parent);

  // Shows one panel's text from the record, sized to that text followed by "a" in the
  // bar's font, and the record's hint; repaints at once, keeping the pace, so a busy
  // handler is seen.
  void showPanel(const StatusBar& record, int panel);
  // Shows every panel whose text differs from the record, and the hint.
  void showChanges(const StatusBar& record);
  // The label that draws a panel (0 or 1).
  QLabel* panel(int index) const { return panels_.at(static_cast<unsigned>(index)); }

 private:
  std::array<QLabel*, 2> panels_{};
  RepaintPace pace_;
};

}  // namespace tessaly::app
