#include "playlist/attr_value.h"

#include <limits>
#include <optional>

#include "platform/error.h"

namespace tessaly {
namespace {

// A value comes out whole only when its closing quote lies this close after the name.
constexpr std::size_t kValueWindow = 255;

std::optional<int> digitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  if (value >= base) return std::nullopt;
  return value;
}

// Skips a hexadecimal prefix at `pos`; returns the base of the digits that follow.
int readBase(const std::string& text, std::size_t& pos) {
  const std::string rest = text.substr(pos, 2);
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    pos += 2;
    return 16;
  }
  if (rest.starts_with("$") || rest.starts_with("x") || rest.starts_with("X")) {
    pos += 1;
    return 16;
  }
  return 10;
}

// The magnitude of the digits from `pos` to the end; nullopt for no digits, another
// byte, or a magnitude beyond the 32-bit range.
std::optional<std::int64_t> readMagnitude(const std::string& text, std::size_t pos, int base) {
  constexpr std::int64_t kLimit = std::int64_t{1} << 31;
  if (pos >= text.size()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const auto digit = digitValue(text[pos], base);
    if (!digit) return std::nullopt;
    magnitude = magnitude * base + *digit;
    if (magnitude > kLimit) return std::nullopt;
  }
  return magnitude;
}

Error notAnInteger(const std::string& text) {
  return Error("'" + text + "' is not a valid integer value");
}

}  // namespace

std::string upperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

const std::string& AttrValue(const std::string& tag, const std::string& name, std::string& site) {
  const std::size_t found = upperAscii(tag).find(upperAscii(name));
  if (found == std::string::npos) return site;
  std::string rest = tag.substr(found + name.size(), kValueWindow);
  if (const auto equals = rest.find('='); equals != std::string::npos) rest.erase(0, equals + 1);
  if (const auto quote = rest.find('"'); quote != std::string::npos) rest.erase(0, quote + 1);
  const auto closing = rest.find('"');
  site = closing == std::string::npos ? std::string() : rest.substr(0, closing);
  return site;
}

std::int32_t StrToInt(const std::string& text) {
  std::size_t pos = text.find_first_not_of(' ');
  if (pos == std::string::npos) throw notAnInteger(text);
  const bool negative = text[pos] == '-';
  if (text[pos] == '-' || text[pos] == '+') ++pos;
  const int base = readBase(text, pos);
  const auto magnitude = readMagnitude(text, pos, base);
  if (!magnitude) throw notAnInteger(text);
  const std::int64_t value = negative ? -*magnitude : *magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) throw notAnInteger(text);
  return static_cast<std::int32_t>(value);
}

}  // namespace tessaly
