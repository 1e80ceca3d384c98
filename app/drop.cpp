#include "app/drop.h"

#include <QMimeData>
#include <QUrl>

namespace tessaly::app {

std::vector<std::string> droppedPaths(const QMimeData& data) {
  std::vector<std::string> paths;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  }
  return paths;
}

}  // namespace tessaly::app
