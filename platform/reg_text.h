// The registry editor's text export format for one key: a header line, a blank line,
// the key line "[HKEY_CURRENT_USER\...]", then one typed value a line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

enum class ValueKind {
  Integer,  // "Name"=dword:0000012c
  String,   // "Name"="text"
  Binary,   // "Name"=hex:01,02
  Other,    // "Name"=hex(7):..., any other type, kept as it was read
};

struct RegValue {
  ValueKind kind = ValueKind::Integer;
  std::uint32_t integer = 0;
  std::string text;                 // String
  std::vector<std::uint8_t> bytes;  // Binary and Other
  std::string typeTag;              // Other: the tag as read, for example "hex(7)"

  bool operator==(const RegValue&) const = default;
};

struct NamedValue {
  std::string name;  // empty for the key's default value "@"
  RegValue value;

  bool operator==(const NamedValue&) const = default;
};

// The values of the key `keyLine` ("[HKEY_CURRENT_USER\...]") in `text`, in file order;
// nullopt when the text is not this format or has no such key. Lines that do not parse
// are skipped; of duplicate names the last value wins.
std::optional<std::vector<NamedValue>> parseRegText(const std::string& text,
                                                    const std::string& keyLine);

// The text of one key holding `values`, one a line, in their order.
std::string formatRegText(const std::string& keyLine, const std::vector<NamedValue>& values);

// The entry named `name` (compared case-insensitively, as registry names are), or nullptr.
const NamedValue* findValue(const std::vector<NamedValue>& values, const std::string& name);

// Sets `name` to `value`: an existing entry keeps its place, a new one is appended.
void setValue(std::vector<NamedValue>& values, const std::string& name, RegValue value);

}  // namespace tessaly
