#include "app/drop.h"

#include <QMimeData>
#include <QUrl>

#include "app/local_path.h"

namespace tessaly::app {

std::vector<std::string> droppedPaths(const QMimeData& data) {
  std::vector<std::string> paths;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile()) paths.push_back(localPath(url));
  }
  return paths;
}

PastedPath pastedPath(const QMimeData& clipboard) {
  const std::vector<std::string> files = droppedPaths(clipboard);
  if (!files.empty()) return {files.front(), files.front()};
  const QString line = clipboard.text().trimmed().section('\n', 0, 0).trimmed();
  return {typedPath(line), line.toStdString()};
}

}  // namespace tessaly::app
