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

}  // namespace tessaly::app
