#include "job/vobsub_palette.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace tessaly {
namespace {

constexpr std::size_t kHexDigits = 6;

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<std::uint32_t> colour(const std::string& item) {
  const std::string digits = trimmed(item);
  const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  if (digits.size() != kHexDigits || !std::all_of(digits.begin(), digits.end(), hex)) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  return value;
}

}  // namespace

std::optional<VobSubPalette> parseVobSubPalette(const std::string& text) {
  VobSubPalette palette{};
  std::istringstream in(text + ",");  // the last item ends with a comma too
  std::size_t count = 0;
  for (std::string item; std::getline(in, item, ',');) {
    const auto value = colour(item);
    if (!value || count == palette.size()) return std::nullopt;
    palette[count++] = *value;
  }
  if (count != palette.size()) return std::nullopt;
  return palette;
}

std::string paletteText(const VobSubPalette& palette) {
  std::string text;
  for (std::uint32_t value : palette) {
    char colour[8];
    std::snprintf(colour, sizeof colour, "%06x", static_cast<unsigned>(value & 0xFFFFFF));
    text += (text.empty() ? "" : ", ") + std::string(colour);
  }
  return text;
}

}  // namespace tessaly
