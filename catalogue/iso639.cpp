#include "catalogue/iso639.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tessaly {
namespace {

struct Row {
  std::string_view code;
  std::string_view stored;  // Matroska's code
  std::string_view name;    // in English
};

constexpr Row kRows[] = {
#include "iso639_table.inc"
};

// The rows sorted by code, once.
const std::array<Row, std::size(kRows)>& sortedRows() {
  static const auto rows = [] {
    std::array<Row, std::size(kRows)> sorted{};
    std::copy(std::begin(kRows), std::end(kRows), sorted.begin());
    std::sort(sorted.begin(), sorted.end(),
              [](const Row& a, const Row& b) { return a.code < b.code; });
    return sorted;
  }();
  return rows;
}

// The row of `code`, or nullptr.
const Row* rowOf(const std::string& code) {
  const auto& rows = sortedRows();
  const auto found =
      std::lower_bound(rows.begin(), rows.end(), code,
                       [](const Row& row, const std::string& c) { return row.code < c; });
  return found == rows.end() || found->code != code ? nullptr : &*found;
}

}  // namespace

std::optional<std::string> matroskaLanguage(const std::string& code) {
  const Row* row = rowOf(code);
  if (!row) return std::nullopt;
  return std::string(row->stored);
}

std::optional<std::string> languageName(const std::string& code) {
  const Row* row = rowOf(code);
  if (!row) return std::nullopt;
  return std::string(row->name);
}

bool knownLanguage(const std::string& code) {
  return matroskaLanguage(code).has_value();
}

}  // namespace tessaly
