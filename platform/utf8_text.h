// Text for programs that read UTF-8 (mkvmerge's arguments and option files, the chapter
// XML): what a disc's bytes give is made valid before it is written.
#pragma once

#include <string>

namespace tessaly {

// `text` with every byte sequence that is not UTF-8 (a stray byte, a cut sequence, an
// overlong form, a surrogate, a code past U+10FFFF) replaced by U+FFFD.
std::string validUtf8(const std::string& text);

// validUtf8(text), with the characters that XML 1.0 cannot carry (the C0 controls other
// than tab, line feed and carriage return; U+FFFE and U+FFFF) replaced by U+FFFD too.
std::string xmlCharacters(const std::string& text);

}  // namespace tessaly
