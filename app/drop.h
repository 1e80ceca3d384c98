// Files dropped on the window, in the form the core's drop handler takes.
#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace tessaly::app {

// The full paths of the local files in a drop, in the drop's order.
std::vector<std::string> droppedPaths(const QMimeData& data);

}  // namespace tessaly::app
