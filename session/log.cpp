#include "session/log.h"

namespace tessaly {

void log(Session& session, const std::string& text) {
  const std::string line = visibleText(text);
  session.fMain.mMessage.lines.push_back(line);
  session.host.logAppended(line);
}

void slog(Session& session, const std::string& shown, int panel) {
  const std::string text = visibleText(shown);
  auto& bar = session.fMain.statusBar;
  bar.panels.at(static_cast<unsigned>(panel)) = " " + text;
  if (panel == 1) bar.hint = text;
  session.host.statusChanged(panel);
}

}  // namespace tessaly
