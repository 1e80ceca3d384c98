#include "platform/reg_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace tessaly {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr char kHexDigits[] = "0123456789abcdef";

char lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return lower(x) == lower(y); });
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && sameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// regedit wraps long hex data: a line ending in ",\" continues on the next line.
bool continues(const std::string& line) {
  const auto end = trimmed(line);
  return end.ends_with(",\\") || end.ends_with(":\\");
}

// The file's lines with CR LF or LF ends removed and wrapped hex data joined.
std::vector<std::string> logicalLines(std::string_view text) {
  std::vector<std::string> lines;
  bool joining = false;
  for (std::size_t start = 0; start < text.size();) {
    const auto end = std::min(text.find('\n', start), text.size());
    auto line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (joining) {
      lines.back().append(trimmed(line));
    } else {
      lines.emplace_back(line);
    }
    joining = continues(lines.back());
    if (joining) lines.back().resize(lines.back().find_last_of('\\'));
    start = end + 1;
  }
  return lines;
}

// Reads the quoted text at text[pos] ("\\" and "\"" escaped, "\n" and "\r" for line breaks)
// and moves pos past its closing quote; nullopt when there is no closing quote.
std::optional<std::string> readQuoted(std::string_view text, std::size_t& pos) {
  if (pos >= text.size() || text[pos] != '"') return std::nullopt;
  std::string out;
  for (++pos; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '"') {
      ++pos;
      return out;
    }
    if (c != '\\' || pos + 1 == text.size()) {
      out += c;
      continue;
    }
    const char next = text[++pos];
    if (next == 'n') {
      out += '\n';
    } else if (next == 'r') {
      out += '\r';
    } else {
      if (next != '\\' && next != '"') out += '\\';  // not an escape: kept as written
      out += next;
    }
  }
  return std::nullopt;
}

// A hexadecimal number of 1 to maxDigits digits and nothing else.
std::optional<std::uint32_t> parseHex(std::string_view digits, std::size_t maxDigits) {
  std::uint32_t number = 0;
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return number;
}

// Comma-separated two-digit hex bytes; empty data is zero bytes.
std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view data) {
  std::vector<std::uint8_t> bytes;
  if (trimmed(data).empty()) return bytes;
  for (std::size_t start = 0;;) {
    const auto comma = data.find(',', start);
    const auto byte = parseHex(trimmed(data.substr(start, comma - start)), 2);
    if (!byte) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(*byte));
    if (comma == std::string_view::npos) return bytes;
    start = comma + 1;
  }
}

// "hex" for binary data, or "hex(N)" with N the registry's type number in hex.
bool isHexTag(std::string_view tag) {
  if (sameIgnoringCase(tag, "hex")) return true;
  return startsWithIgnoringCase(tag, "hex(") && tag.ends_with(')') &&
         parseHex(tag.substr(4, tag.size() - 5), 8).has_value();
}

std::optional<RegValue> parseData(std::string_view data) {
  RegValue value;
  if (data.starts_with('"')) {
    std::size_t pos = 0;
    auto text = readQuoted(data, pos);
    if (!text || !trimmed(data.substr(pos)).empty()) return std::nullopt;
    value.kind = ValueKind::String;
    value.text = std::move(*text);
    return value;
  }
  if (startsWithIgnoringCase(data, "dword:")) {
    const auto number = parseHex(trimmed(data.substr(6)), 8);
    if (!number) return std::nullopt;
    value.integer = *number;
    return value;
  }
  const auto colon = data.find(':');
  if (colon == std::string_view::npos || !isHexTag(data.substr(0, colon))) return std::nullopt;
  auto bytes = parseHexBytes(data.substr(colon + 1));
  if (!bytes) return std::nullopt;
  value.bytes = std::move(*bytes);
  value.kind = colon == 3 ? ValueKind::Binary : ValueKind::Other;
  if (value.kind == ValueKind::Other) {
    value.typeTag.resize(colon);
    std::ranges::transform(data.substr(0, colon), value.typeTag.begin(), lower);
  }
  return value;
}

// One value line: "Name"=data, or @=data for the key's default value.
std::optional<NamedValue> parseValueLine(std::string_view line) {
  NamedValue entry;
  std::size_t pos = 1;
  if (!line.starts_with('@')) {
    pos = 0;
    auto name = readQuoted(line, pos);
    if (!name) return std::nullopt;
    entry.name = std::move(*name);
  }
  const auto rest = trimmed(line.substr(pos));
  if (!rest.starts_with('=')) return std::nullopt;
  auto value = parseData(trimmed(rest.substr(1)));
  if (!value) return std::nullopt;
  entry.value = std::move(*value);
  return entry;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    if (c == '\n' || c == '\r')
      out += c == '\n' ? "\\n" : "\\r";  // keeps one value a line
    else
      out += c;
  }
  return out + '"';
}

std::string hexBytes(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  for (const auto byte : bytes) {
    if (!out.empty()) out += ',';
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
  }
  return out;
}

std::string formatData(const RegValue& value) {
  switch (value.kind) {
    case ValueKind::Integer: {
      std::string digits(8, '0');
      for (int n = 0; n < 8; ++n) digits[7 - n] = kHexDigits[(value.integer >> (4 * n)) & 0x0F];
      return "dword:" + digits;
    }
    case ValueKind::String:
      return quoted(value.text);
    case ValueKind::Binary:
      return "hex:" + hexBytes(value.bytes);
    case ValueKind::Other:
      break;
  }
  return value.typeTag + ":" + hexBytes(value.bytes);
}

}  // namespace

std::optional<std::vector<NamedValue>> parseRegText(const std::string& text,
                                                    const std::string& keyLine) {
  std::string_view body = text;
  if (body.starts_with(kUtf8Bom)) body.remove_prefix(kUtf8Bom.size());
  const auto lines = logicalLines(body);
  auto line = std::ranges::find_if(lines, [](const auto& l) { return !trimmed(l).empty(); });
  if (line == lines.end() || trimmed(*line) != kHeader) return std::nullopt;
  std::vector<NamedValue> values;
  bool inKey = false;
  bool found = false;
  for (++line; line != lines.end(); ++line) {
    const auto content = trimmed(*line);
    if (content.empty() || content.starts_with(';')) continue;  // ";" starts a comment
    if (content.starts_with('[')) {
      inKey = sameIgnoringCase(content, keyLine);  // key paths are case-insensitive
      found = found || inKey;
    } else if (auto entry = inKey ? parseValueLine(content) : std::nullopt) {
      setValue(values, entry->name, std::move(entry->value));
    }
  }
  if (!found) return std::nullopt;
  return values;
}

std::string formatRegText(const std::string& keyLine, const std::vector<NamedValue>& values) {
  std::string out = std::string(kHeader) + "\n\n" + keyLine + "\n";
  for (const auto& [name, value] : values) {
    out += (name.empty() ? std::string("@") : quoted(name)) + "=" + formatData(value) + "\n";
  }
  return out + "\n";
}

const NamedValue* findValue(const std::vector<NamedValue>& values, const std::string& name) {
  const auto found = std::ranges::find_if(
      values, [&](const auto& entry) { return sameIgnoringCase(entry.name, name); });
  return found == values.end() ? nullptr : &*found;
}

void setValue(std::vector<NamedValue>& values, const std::string& name, RegValue value) {
  if (const auto* existing = findValue(values, name)) {
    values[static_cast<std::size_t>(existing - values.data())].value = std::move(value);
  } else {
    values.push_back({name, std::move(value)});
  }
}

}  // namespace tessaly
