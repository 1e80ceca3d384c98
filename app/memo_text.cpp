#include "app/memo_text.h"

namespace tessaly::app {

QString memoText(const std::vector<std::string>& lines, std::size_t first) {
  QString text;
  for (std::size_t n = first; n < lines.size(); ++n) {
    if (n > first) {
      text += (n - first) % kLinesPerParagraph == 0 ? QChar('\n') : QChar(QChar::LineSeparator);
    }
    text += QString::fromStdString(lines[n]);
  }
  return text;
}

}  // namespace tessaly::app
