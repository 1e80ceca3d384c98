// Files dropped on the window, or a path pasted on it, in the form the core's handlers
// take.
#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace tessaly::app {

// The full paths of the local files in a drop, in the drop's order.
std::vector<std::string> droppedPaths(const QMimeData& data);

// What the clipboard holds as a path: its first local file (as a file manager copies
// one), else the first line of its text taken as a typed path; and that text as shown.
struct PastedPath {
  std::string path;
  std::string text;
};
PastedPath pastedPath(const QMimeData& clipboard);

}  // namespace tessaly::app
