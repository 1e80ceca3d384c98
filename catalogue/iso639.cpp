#include "catalogue/iso639.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace tessaly {
namespace {

using Row = std::pair<std::string_view, std::string_view>;  // code, Matroska's code

constexpr Row kRows[] = {
#include "iso639_table.inc"
};

// The rows sorted by code, once.
const std::array<Row, std::size(kRows)>& sortedRows() {
  static const auto rows = [] {
    std::array<Row, std::size(kRows)> sorted{};
    std::copy(std::begin(kRows), std::end(kRows), sorted.begin());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
  }();
  return rows;
}

}  // namespace

std::optional<std::string> matroskaLanguage(const std::string& code) {
  const auto& rows = sortedRows();
  const auto found =
      std::lower_bound(rows.begin(), rows.end(), code,
                       [](const Row& row, const std::string& c) { return row.first < c; });
  if (found == rows.end() || found->first != code) return std::nullopt;
  return std::string(found->second);
}

bool knownLanguage(const std::string& code) {
  return matroskaLanguage(code).has_value();
}

}  // namespace tessaly
