// Attribute lookup inside one tag's text, and the integer conversion of its values.
// Text is bytes: nothing is decoded, and ignoring case upper-cases only a..z.
#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

// The text with a..z upper-cased and every other byte unchanged.
std::string upperAscii(std::string text);

// Looks `name` up in `tag` (first occurrence, ignoring case) and stores its
// double-quoted value in `site`; a name not found leaves `site` as it was.
const std::string& AttrValue(const std::string& tag, const std::string& name, std::string& site);

// Reads a 32-bit signed integer (leading spaces, optional sign, decimal or hexadecimal
// after "$", "x", "X", "0x", "0X"); throws "'%s' is not a valid integer value".
std::int32_t StrToInt(const std::string& text);

}  // namespace tessaly
