// StatusBar: two panels that show the status record, written through slog.
#pragma once

#include <QLabel>
#include <QStatusBar>
#include <array>

#include "app/repaint_pace.h"
#include "session/window.h"

namespace tessaly::app {

// One panel: its text at the width slog gives it. A panel left less room than that (the
// last one, in a narrow window) shows the end of its text, where a progress text has the
// remaining time, and "..." for what it leaves out in front.
class StatusPanel : public QLabel {
 public:
  StatusPanel();

  // The width slog gives the panel: its preferred width.
  void setPanelWidth(int width);
  int panelWidth() const { return panelWidth_; }
  // The text as the panel shows it at its present width.
  QString shownText() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int panelWidth_ = 0;
};

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
  StatusPanel* panel(int index) const { return panels_.at(static_cast<unsigned>(index)); }

 private:
  std::array<StatusPanel*, 2> panels_{};
  RepaintPace pace_;
};

}  // namespace tessaly::app
