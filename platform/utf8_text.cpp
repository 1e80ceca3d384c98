#include "platform/utf8_text.h"

#include <cstdint>

namespace tessaly {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the sequence a lead byte starts, and the smallest code it may encode
// (a smaller one is an overlong form); 0 for a byte that starts none.
struct Lead {
  std::size_t length;
  std::uint32_t smallest;
};

Lead leadOf(std::uint8_t byte) {
  if (byte < 0x80) return {1, 0};
  if ((byte & 0xE0) == 0xC0) return {2, 0x80};
  if ((byte & 0xF0) == 0xE0) return {3, 0x800};
  if ((byte & 0xF8) == 0xF0) return {4, 0x10000};
  return {0, 0};
}

// The code of the UTF-8 sequence at `at`, or -1 when none starts there; `length` is set
// to the bytes it takes (1 for a byte that starts none).
std::int64_t codeAt(const std::string& text, std::size_t at, std::size_t& length) {
  const Lead lead = leadOf(static_cast<std::uint8_t>(text[at]));
  length = 1;
  if (lead.length == 0 || at + lead.length > text.size()) return -1;
  const unsigned mask = lead.length == 1 ? 0x7F : 0x7F >> lead.length;  // the lead's own bits
  std::uint32_t code = static_cast<std::uint8_t>(text[at]) & mask;
  for (std::size_t n = 1; n < lead.length; ++n) {
    const auto byte = static_cast<std::uint8_t>(text[at + n]);
    if ((byte & 0xC0) != 0x80) return -1;
    code = (code << 6) | (byte & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  if (code < lead.smallest || code > 0x10FFFF || surrogate) return -1;
  length = lead.length;
  return code;
}

bool xmlChar(std::int64_t code) {
  if (code < 0x20) return code == '\t' || code == '\n' || code == '\r';
  return code != 0xFFFE && code != 0xFFFF;
}

std::string replaced(const std::string& text, bool xml) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
    const std::int64_t code = codeAt(text, at, length);
    if (code < 0 || (xml && !xmlChar(code))) {
      out += kReplacement;
    } else {
      out.append(text, at, length);
    }
  }
  return out;
}

}  // namespace

std::string validUtf8(const std::string& text) {
  return replaced(text, false);
}

std::string xmlCharacters(const std::string& text) {
  return replaced(text, true);
}

}  // namespace tessaly
