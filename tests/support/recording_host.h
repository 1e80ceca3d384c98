// A Host that records what the core asked of the toolkit, and answers questions and
// dialogs from scripted replies.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "session/host.h"
#include "session/window.h"

namespace tessaly::testing {

class RecordingHost : public Host {
 public:
  void logAppended(const std::string& line) override;
  void statusChanged(int panel) override;
  void processMessages() override;
  void repaint() override;
  bool askYesNo(const std::string& question) override;
  void showError(const std::string& message) override;
  bool runDialog(FileDialog& dialog) override;

  std::vector<std::string> logged;
  std::vector<int> statusPanels;  // panel of every status change, in order
  int messageRounds = 0;
  int repaints = 0;
  std::vector<std::string> questions;
  std::vector<std::string> errors;

  std::deque<bool> answers;  // replies to askYesNo; No when empty
  // Runs at every processMessages call, as a window event would (for example a click).
  std::function<void()> onMessages;
  // The file a dialog leaves as its current name; empty = cancelled.
  std::string dialogChoice;
};

}  // namespace tessaly::testing
