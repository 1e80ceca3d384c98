#include "desk.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>

namespace tessaly::testing {

bool ScriptedPrompts::askYesNo(QWidget*, const QString& question) {
  questions.append(question);
  return answers.isEmpty() ? false : answers.takeFirst();
}

void ScriptedPrompts::showError(QWidget*, const QString& message) {
  errors.append(message);
}

bool ScriptedPrompts::runDialog(QWidget*, FileDialog& dialog) {
  dialogs.push_back(dialog);
  if (choice.empty()) return false;
  dialog.fileName = choice;
  return true;
}

void Desk::showActive() {
  fMain.show();
  QApplication::processEvents();  // the platform's activation of the new window
}

bool Desk::drop(QWidget* target, const QStringList& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
  data.setUrls(urls);
  data.setText(paths.join('\n'));  // file managers offer the paths as text as well
  const QPointF at(5, 5);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &dropped);
  return dropped.isAccepted();
}

void Desk::storeSettings(const ConfigHome& home, const std::string& valueLines) {
  std::filesystem::create_directories(std::filesystem::path(home.keyFile()).parent_path());
  writeFile(home.keyFile(),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software\\Corvane Software\\Tessaly]\n" +
                valueLines);
}

void Desk::activate() {
  QEvent activation(QEvent::WindowActivate);
  QApplication::sendEvent(&fMain, &activation);
}

void Desk::click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace tessaly::testing
