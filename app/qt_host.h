// The core's Host over the Qt window: every call takes effect at once, since the core
// calls it from inside long-running handlers.
#pragma once

#include <functional>

#include "session/host.h"

namespace tessaly::app {

class Prompts;
class TfMain;

class QtHost final : public Host {
 public:
  explicit QtHost(Prompts& prompts) : prompts_(prompts) {}

  // The window the host draws on; calls before this only reach the prompts.
  void attach(TfMain& window) { window_ = &window; }

  void logAppended(const std::string& line) override;
  void statusChanged(int panel) override;
  // Shows the records, then lets pending window events (a click on Cancel) be handled.
  void processMessages() override;
  void repaint() override;
  bool askYesNo(const std::string& question) override;
  void showError(const std::string& message) override;
  bool runDialog(FileDialog& dialog) override;

  // Runs at every processMessages before the events are handled: a test's way to act
  // while a job runs, as an operator's click would.
  std::function<void()> onMessages;

 private:
  Prompts& prompts_;
  TfMain* window_ = nullptr;
};

}  // namespace tessaly::app
