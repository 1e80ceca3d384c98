#include "playlist/xpl_scanner.h"

#include <algorithm>

namespace tessaly {
namespace {

constexpr std::uint8_t kTagOpen = 0x3C;   // "<"
constexpr std::uint8_t kTagClose = 0x3E;  // ">"
constexpr std::uint8_t kSlash = 0x2F;     // "/"
constexpr std::uint8_t kQuestion = 0x3F;  // "?": ends a declaration or processing instruction
constexpr std::uint8_t kHyphen = 0x2D;    // "--" ends a comment
constexpr std::uint8_t kFirstPrintable = 0x20;
// Indentation drawn for at most this many open elements: real playlists nest a few
// levels, while a file of unclosed tags would otherwise give lines that grow with the
// depth, a memo whose size grows with the square of the file's.
constexpr std::int64_t kMaxIndentLevels = 64;
// Real tags are a few hundred bytes. A memo line is laid out whole by the window, so of a
// longer tag only its first 64 KiB are kept: a playlist of one 16 MiB tag would otherwise
// cost the window gigabytes.
constexpr std::size_t kMaxTagText = 64 * 1024;

}  // namespace

void XplScanner::feed(std::span<const std::uint8_t> bytes) {
  for (const std::uint8_t byte : bytes) scanByte(byte);
}

void XplScanner::scanByte(std::uint8_t byte) {
  auto& st = state_;
  const auto previous = static_cast<std::uint8_t>(st.LastBytes & 0xFF);
  if (byte == kTagOpen) {
    st.InTag = true;
    ++st.Depth;
  }
  if (st.InTag) appendToTag(byte);
  if (byte == kSlash && previous == kTagOpen) {
    // A closing tag: it stands at its opening tag's indentation, one level up.
    st.Depth -= 2;
    st.TagText.erase(0, st.IndentUnit.size());
  }
  if (byte == kTagClose) endTag();
  st.LastBytes = (st.LastBytes << 8) | byte;
}

void XplScanner::appendToTag(std::uint8_t byte) {
  auto& text = state_.TagText;
  if (text.size() >= kMaxTagText) return;
  if (byte >= kFirstPrintable) {
    text.push_back(static_cast<char>(byte));
  } else if (text.empty() || text.back() != ' ') {
    // Line breaks, tabs and other control bytes: one space per run.
    text.push_back(' ');
  }
}

void XplScanner::endTag() {
  auto& st = state_;
  const auto previous = static_cast<std::uint8_t>(st.LastBytes & 0xFF);
  const auto beforePrevious = static_cast<std::uint8_t>((st.LastBytes >> 8) & 0xFF);
  st.InTag = false;
  onTag_(st.TagText);
  st.TagText.clear();
  // Empty elements, declarations and comments close what their "<" opened.
  if (previous == kSlash) --st.Depth;
  if (previous == kQuestion) --st.Depth;
  if (previous == kHyphen && beforePrevious == kHyphen) --st.Depth;
  // Depth copies of IndentUnit, two spaces, in one step: a file of countless tags spends
  // its time here.
  const std::int64_t levels = std::min(st.Depth, kMaxIndentLevels);
  if (levels > 0) st.TagText.assign(static_cast<std::size_t>(levels) * st.IndentUnit.size(), ' ');
}

}  // namespace tessaly
