#include "app/local_path.h"

#include <QDir>
#include <QFile>

#include "platform/files.h"

namespace tessaly::app {

std::string localPath(const QUrl& url) {
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

QUrl fileUrl(const std::string& path) {
  const QByteArray encoded = QByteArray::fromStdString(fullPath(path)).toPercentEncoding("/");
  return QUrl::fromEncoded("file://" + encoded);
}

std::string typedPath(const QString& text) {
  QString path = text.trimmed();
  if (path.isEmpty()) return {};
  const QUrl url(path);
  if (url.isLocalFile()) return localPath(url);
  if (path == "~" || path.startsWith("~/")) path = QDir::homePath() + path.mid(1);
  return fullPath(QFile::encodeName(path).toStdString());
}

}  // namespace tessaly::app
