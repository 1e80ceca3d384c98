#include "playlist/title_cut.h"

#include <optional>

#include "playlist/attr_value.h"

namespace tessaly {
namespace {

bool mentionsUpper(const std::string& line, const char* upperText) {
  return upperAscii(line).find(upperText) != std::string::npos;
}

// The nearest title line above `match`; the match line itself is not looked at.
std::optional<std::size_t> titleStart(const std::vector<std::string>& lines, std::size_t match) {
  for (std::size_t n = match; n-- > 0;) {
    if (mentionsUpper(lines[n], "<TITLE ")) return n;
  }
  return std::nullopt;
}

// The first closing title line from line 1 on.
std::optional<std::size_t> titleEnd(const std::vector<std::string>& lines) {
  for (std::size_t n = 1; n < lines.size(); ++n) {
    if (mentionsUpper(lines[n], "</TITLE")) return n;
  }
  return std::nullopt;
}

}  // namespace

bool TitleMatch::tag(const std::string& text) {
  const std::size_t at = tags_++;
  if (mentioned_ || baseName_.empty() || text.find(baseName_) == std::string::npos) return false;
  mentioned_ = true;
  if (at > 0) index_ = at;
  return index_.has_value();
}

bool cutToTitle(std::vector<std::string>& lines, const std::optional<std::size_t>& match) {
  if (!match || *match >= lines.size()) return false;
  if (const auto start = titleStart(lines, *match); start && *start > 0) {
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(*start));
  }
  if (const auto end = titleEnd(lines)) {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*end + 1), lines.end());
  }
  return true;
}

}  // namespace tessaly
