#include "desk.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>

namespace tessaly::testing {

namespace {

// A box that holds the focus while it is open, as a real one does; when it closes, the
// window it was shown over becomes active again.
class FocusTakingBox {
 public:
  explicit FocusTakingBox(QWidget* parent) : parent_(parent) {
    box_.setWindowTitle("box");
    box_.show();
    QApplication::processEvents();
  }
  ~FocusTakingBox() {
    box_.hide();
    if (parent_ != nullptr) {
      parent_->activateWindow();
      QApplication::processEvents();
    }
  }
  FocusTakingBox(const FocusTakingBox&) = delete;
  FocusTakingBox& operator=(const FocusTakingBox&) = delete;

 private:
  QWidget* parent_;
  QWidget box_;
};

}  // namespace

bool ScriptedPrompts::askYesNo(QWidget* parent, const QString& question) {
  const FocusTakingBox box(parent);
  questions.append(question);
  return answers.isEmpty() ? false : answers.takeFirst();
}

void ScriptedPrompts::showError(QWidget* parent, const QString& message) {
  const FocusTakingBox box(parent);
  errors.append(message);
}

bool ScriptedPrompts::runDialog(QWidget* parent, FileDialog& dialog) {
  const FocusTakingBox box(parent);
  dialogs.push_back(dialog);
  if (choice.empty()) return false;
  dialog.fileName = choice;
  return true;
}

EventCounter::EventCounter(QWidget* widget, QEvent::Type type) : type_(type) {
  widget->installEventFilter(this);
}

bool EventCounter::eventFilter(QObject*, QEvent* event) {
  if (event->type() == type_) ++count;
  return false;
}

void Desk::showActive() {
  fMain.show();
  QApplication::processEvents();  // the platform's activation of the new window
}

bool Desk::drop(QWidget* target, const QStringList& paths) {
  QList<QUrl> urls;
  for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
  return dropUrls(target, urls);
}

bool Desk::dropUrls(QWidget* target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  QStringList paths;
  for (const QUrl& url : urls) paths.append(url.toLocalFile());
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

void Desk::returnFromAnotherProgram() {
  {
    QWidget other;
    other.show();
    QApplication::processEvents();
    QVERIFY(!fMain.isActiveWindow());
  }
  fMain.activateWindow();
  QApplication::processEvents();
  QVERIFY(fMain.isActiveWindow());
}

void Desk::click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace tessaly::testing
