// Texts from files and discs made safe for a terminal and a log.
#pragma once

#include <string>

namespace tessaly {

// `text` with its control characters (C0, DEL and, in UTF-8, C1) shown as \xHH: a file
// name holding ESC, BEL or a line break cannot drive the operator's terminal or forge a
// log line. Every text of the log, the status bar and the error messages passes here.
std::string visibleText(const std::string& text);

}  // namespace tessaly
