#include "support/recording_host.h"

namespace tessaly::testing {

void RecordingHost::logAppended(const std::string& line) {
  logged.push_back(line);
}

void RecordingHost::statusChanged(int panel) {
  statusPanels.push_back(panel);
}

void RecordingHost::processMessages() {
  ++messageRounds;
  if (onMessages) onMessages();
}

void RecordingHost::repaint() {
  ++repaints;
}

bool RecordingHost::askYesNo(const std::string& question) {
  questions.push_back(question);
  if (answers.empty()) return false;
  const bool yes = answers.front();
  answers.pop_front();
  return yes;
}

void RecordingHost::showError(const std::string& message) {
  errors.push_back(message);
}

bool RecordingHost::runDialog(FileDialog& dialog) {
  if (dialogChoice.empty()) return false;
  dialog.fileName = dialogChoice;
  return true;
}

}  // namespace tessaly::testing
