#include "shell/report.h"

namespace tessaly {

void log(Session& session, const std::string& text) {
  session.fMain.mMessage.lines.push_back(text);
  session.host.logAppended(text);
}

void slog(Session& session, const std::string& text, int panel) {
  auto& bar = session.fMain.statusBar;
  bar.panels.at(static_cast<unsigned>(panel)) = " " + text;
  if (panel == 1) bar.hint = text;
  session.host.statusChanged(panel);
}

}  // namespace tessaly
