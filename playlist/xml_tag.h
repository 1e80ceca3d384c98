// A tag as the playlist's scanner cut it, read as XML: its element name and attributes,
// with both quote styles and the character references decoded. Only the playlist facts
// read tags this way; the title phase's lookups keep their own rules (attr_value.h).
#pragma once

#include <map>
#include <optional>
#include <string>

namespace tessaly {

struct XmlTag {
  std::string name;
  bool closing = false;      // </name>
  bool selfClosing = false;  // <name ... />
  std::map<std::string, std::string> attributes;

  // The attribute's value, or an empty text without it.
  std::string attribute(const std::string& attribute) const;
};

// The value with its character references decoded ("&amp;" gives "&", "&#233;" "é"; a
// control character's reference a space); a "&" that starts none stays.
std::string decodedReferences(const std::string& value);

// Reads a tag text (indentation, then "<" up to ">"); nullopt for comments,
// declarations and processing instructions.
std::optional<XmlTag> readXmlTag(const std::string& text);

}  // namespace tessaly
