// The text that shows a list of lines in a memo (mMessage, mXPL).
#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <vector>

namespace tessaly::app {

// Lines in a memo are grouped: every kLinesPerParagraph lines form one paragraph, the
// lines inside it separated by soft line breaks. A text document builds a paragraph in
// about 2 us, so a 30,000-line playlist shows ten times faster this way; the memo shows,
// selects and copies the lines exactly as one paragraph per line.
constexpr std::size_t kLinesPerParagraph = 16;

// Lines `first` onwards, ready for setPlainText or appendPlainText.
QString memoText(const std::vector<std::string>& lines, std::size_t first = 0);

}  // namespace tessaly::app
