#include "playlist/xml_tag.h"

#include <charconv>
#include <cstdint>

namespace tessaly {
namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isNameByte(char c) {
  return !isSpace(c) && c != '=' && c != '>' && c != '/' && c != '"' && c != '\'';
}

std::string utf8(std::uint32_t code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

// The text of a character reference without "&" and ";", or nullopt when it is none.
std::optional<std::string> reference(const std::string& ref) {
  static const std::map<std::string, std::string> kNamed = {
      {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
  if (const auto named = kNamed.find(ref); named != kNamed.end()) return named->second;
  if (ref.size() < 2 || ref[0] != '#') return std::nullopt;
  const bool hex = ref[1] == 'x' || ref[1] == 'X';
  const std::string digits = ref.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  std::uint32_t code = 0;
  const char* end = digits.data() + digits.size();
  const auto [at, error] = std::from_chars(digits.data(), end, code, hex ? 16 : 10);
  if (error != std::errc() || at != end) return std::nullopt;
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
  // Names go into one-line formats: a line break or other control character is a space.
  return code < 0x20 ? std::string(" ") : utf8(code);
}

// The longest reference, "&#x10FFFF;", from its "&" to its ";".
constexpr std::size_t kLongestReference = 10;

std::size_t skipSpaces(const std::string& text, std::size_t at) {
  while (at < text.size() && isSpace(text[at])) ++at;
  return at;
}

std::size_t nameEnd(const std::string& text, std::size_t at) {
  while (at < text.size() && isNameByte(text[at])) ++at;
  return at;
}

// Reads `name="value"` pairs from `at` to the end of the tag.
void readAttributes(const std::string& text, std::size_t at, XmlTag& tag) {
  while ((at = skipSpaces(text, at)) < text.size()) {
    const std::size_t end = nameEnd(text, at);
    if (end == at) {  // "/" of "/>", ">", or a stray byte
      ++at;
      continue;
    }
    const std::string name = text.substr(at, end - at);
    at = skipSpaces(text, end);
    if (at >= text.size() || text[at] != '=') continue;  // a name without a value
    at = skipSpaces(text, at + 1);
    if (at >= text.size() || (text[at] != '"' && text[at] != '\'')) continue;
    const std::size_t close = text.find(text[at], at + 1);
    if (close == std::string::npos) return;
    tag.attributes.emplace(name, decodedReferences(text.substr(at + 1, close - at - 1)));
    at = close + 1;
  }
}

}  // namespace

std::string decodedReferences(const std::string& value) {
  std::string out;
  for (std::size_t at = 0; at < value.size(); ++at) {
    // The ";" is looked for near the "&" only, so a value full of "&" stays linear.
    const std::size_t length =
        value[at] == '&' ? value.substr(at, kLongestReference).find(';') : std::string::npos;
    const auto text =
        length == std::string::npos ? std::nullopt : reference(value.substr(at + 1, length - 1));
    if (!text) {
      out += value[at];
      continue;
    }
    out += *text;
    at += length;
  }
  return out;
}

std::string XmlTag::attribute(const std::string& attribute) const {
  const auto found = attributes.find(attribute);
  return found == attributes.end() ? std::string() : found->second;
}

std::optional<XmlTag> readXmlTag(const std::string& text) {
  std::size_t at = text.find('<');
  if (at == std::string::npos || at + 1 >= text.size()) return std::nullopt;
  XmlTag tag;
  ++at;
  if (text[at] == '!' || text[at] == '?') return std::nullopt;
  if (text[at] == '/') {
    tag.closing = true;
    ++at;
  }
  const std::size_t end = nameEnd(text, at);
  if (end == at) return std::nullopt;
  tag.name = text.substr(at, end - at);
  const std::size_t last = text.find_last_not_of(' ');
  tag.selfClosing =
      last != std::string::npos && last > 0 && text[last] == '>' && text[last - 1] == '/';
  readAttributes(text, end, tag);
  return tag;
}

}  // namespace tessaly
