#include "app/qt_host.h"

#include <QCoreApplication>

#include "app/main_window.h"
#include "app/prompts.h"

namespace tessaly::app {

void QtHost::logAppended(const std::string&) {
  if (window_) window_->logAppended();
}

void QtHost::statusChanged(int panel) {
  if (window_) window_->showStatus(panel);
}

void QtHost::processMessages() {
  if (window_) window_->mirror();
  if (onMessages) onMessages();
  QCoreApplication::processEvents();
}

void QtHost::repaint() {
  if (window_) window_->repaint();
}

bool QtHost::askYesNo(const std::string& question) {
  if (window_) window_->mirrorLog();  // the box follows what was logged before it
  return prompts_.askYesNo(window_, QString::fromStdString(question));
}

void QtHost::showError(const std::string& message) {
  if (window_) window_->mirrorLog();
  prompts_.showError(window_, QString::fromStdString(message));
}

bool QtHost::runDialog(FileDialog& dialog) {
  return prompts_.runDialog(window_, dialog);
}

}  // namespace tessaly::app
