#include "app/prompts.h"

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

#include "app/local_path.h"
#include "platform/paths.h"

namespace tessaly::app {

QString qtFilter(const std::string& filter) {
  const QString text = QString::fromStdString(filter);
  const qsizetype bar = text.indexOf('|');
  if (bar < 0) return text;
  const QString caption = text.left(bar);
  QString patterns = text.mid(bar + 1);
  if (patterns != patterns.toLower()) patterns += ' ' + patterns.toLower();
  return caption + " (" + patterns + ")";
}

QString qtSuffix(const std::string& defaultExt) {
  QString suffix = QString::fromStdString(defaultExt);
  if (suffix.startsWith('*')) suffix.remove(0, 1);
  if (suffix.startsWith('.')) suffix.remove(0, 1);
  return suffix;
}

bool ModalPrompts::askYesNo(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void ModalPrompts::showError(QWidget* parent, const QString& message) {
  QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), message,
                  QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);  // paths may hold '<' and '&'
  box.exec();
}

bool ModalPrompts::runDialog(QWidget* parent, FileDialog& dialog) {
  QFileDialog box(parent, QString::fromStdString(dialog.title), QString(), qtFilter(dialog.filter));
  box.setDirectoryUrl(fileUrl(dialog.initialDir));
  box.setFileMode(QFileDialog::ExistingFile);  // the file and its path must exist
  box.setDefaultSuffix(qtSuffix(dialog.defaultExt));
  box.setOption(QFileDialog::DontResolveSymlinks);  // shortcuts are not followed
  // The record's folder decides where the dialog opens; its file name is preselected.
  const QString name = QFile::decodeName(QByteArray::fromStdString(fileNamePart(dialog.fileName)));
  if (!name.isEmpty()) box.selectFile(name);
  // Chosen files come back as URLs: a platform dialog that lists names in any encoding
  // hands their bytes over unchanged.
  if (box.exec() != QDialog::Accepted || box.selectedUrls().isEmpty()) return false;
  dialog.fileName = localPath(box.selectedUrls().constFirst());
  return true;
}

bool TerminalPrompts::askYesNo(QWidget*, const QString&) {
  return false;
}

void TerminalPrompts::showError(QWidget*, const QString& message) {
  std::fprintf(stderr, "%s\n", qPrintable(message));
  failed = true;
}

bool TerminalPrompts::runDialog(QWidget*, FileDialog&) {
  return false;
}

}  // namespace tessaly::app
