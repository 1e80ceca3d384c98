#include "app/local_path.h"

#include "shell/files.h"

namespace tessaly::app {

std::string localPath(const QUrl& url) {
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

QUrl fileUrl(const std::string& path) {
  const QByteArray encoded = QByteArray::fromStdString(fullPath(path)).toPercentEncoding("/");
  return QUrl::fromEncoded("file://" + encoded);
}

}  // namespace tessaly::app
