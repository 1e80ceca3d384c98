// The playlist's byte scanner: cuts the file into tags, one memo line each, indented
// two spaces per open element. Its state carries across chunk boundaries, so any
// chunking of the file gives the same lines.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>

namespace tessaly {

// The scanner's state; a fresh value holds the start values of a run.
struct ScannerState {
  std::string TagText;            // the next memo line: indentation, then the tag from "<"
  std::string IndentUnit = "  ";  // the indentation step
  std::int64_t Depth = 0;         // nesting depth; negative on malformed input
  bool InTag = false;             // a "<" was seen and its ">" not yet
  std::uint32_t LastBytes = 0;    // the bytes seen so far, the most recent in the low 8 bits
};

class XplScanner {
 public:
  // Receives each completed tag text (the memo line) at its ">".
  using TagSink = std::function<void(const std::string& tag)>;

  explicit XplScanner(TagSink onTag) : onTag_(std::move(onTag)) {}

  // Scans the next bytes of the file, in file order.
  void feed(std::span<const std::uint8_t> bytes);
  const ScannerState& state() const { return state_; }

 private:
  void scanByte(std::uint8_t byte);
  void appendToTag(std::uint8_t byte);
  void endTag();

  ScannerState state_;
  TagSink onTag_;
};

}  // namespace tessaly
