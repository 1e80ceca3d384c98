#include "platform/visible_text.h"

#include <cstdio>

namespace tessaly {
namespace {

constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kC1Lead = 0xC2;  // U+0080..U+009F are C2 80..C2 9F in UTF-8

void escape(std::string& out, unsigned char byte) {
  char code[8];
  std::snprintf(code, sizeof code, "\\x%02X", byte);
  out += code;
}

}  // namespace

std::string visibleText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    const auto next = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
    if (byte == kC1Lead && next >= 0x80 && next <= 0x9F) {
      escape(out, byte);
      escape(out, next);
      ++at;
    } else if (byte < 0x20 || byte == kDelete) {
      escape(out, byte);
    } else {
      out += text[at];
    }
  }
  return out;
}

}  // namespace tessaly
