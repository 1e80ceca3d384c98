// Keeps fMain's controls and the Session's records in step: the records are shown in
// the controls after every handler and at every breath of a running job, and the
// operator's clicks, ticks and edits go into the records and run their handlers.
#pragma once

#include <QPointer>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/repaint_pace.h"
#include "session/invoke.h"
#include "session/session.h"

namespace tessaly::app {

class Binding {
 public:
  Binding(Session& session, TfMain& window);

  // Shows every record in its control. While a job runs, its triggers, the browse
  // buttons and the stream boxes are disabled whatever their records say.
  void mirror();
  // Appends the log lines that mMessage does not show yet, and shows them at once.
  void mirrorLog();
  // A line was logged: shows it now when that keeps the pace, else with the next lines
  // or at the next mirror.
  void logAppended();

 private:
  // Runs a handler through invoke(), then shows the records.
  void run(Handler handler);
  void connectButtons();
  void connectBoxes();
  void connectOptions();
  void connectPathEdits();
  void connectTitles();
  void mirrorButtons();
  void mirrorBoxes();
  void mirrorEdits();
  void mirrorPlaylist();
  void mirrorTitles();
  // Enables or disables a control. Disabling the control that has the focus would make
  // Qt pass the focus on to the next control (a path edit, selecting its text), as it does
  // when the window is activated with no control focused: the window itself holds the
  // focus instead, and returnFocus() gives it back once the control is enabled again.
  void enable(QWidget* control, bool enabled);
  void returnFocus();
  // Visits each of the 40 stream boxes with its record.
  template <typename Visit>
  void forEachBox(Visit visit);

  Session& s_;
  TfMain& w_;
  bool mirroring_ = false;
  std::size_t shownLogLines_ = 0;
  RepaintPace logPace_;
  QPointer<QWidget> heldFocus_;
  std::vector<std::string> shownXpl_;
  std::vector<TreeNode> shownTree_;
  std::vector<TitleRow> shownTitles_;
};

template <typename Visit>
void Binding::forEachBox(Visit visit) {
  auto& r = s_.fMain;
  for (std::size_t n = 0; n < kVideoBoxes; ++n) visit(w_.cbVideo[n], r.cbVideo[n]);
  for (std::size_t n = 0; n < kAudioBoxes; ++n) visit(w_.cbAudio[n], r.cbAudio[n]);
  for (std::size_t n = 0; n < kSubBoxes; ++n) visit(w_.cbSub[n], r.cbSub[n]);
}

}  // namespace tessaly::app
