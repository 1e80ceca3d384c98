// Which title plays the chosen EVO file: the first tag of the playlist that mentions its
// base name (case-sensitive) picks it, for the described title phase and the facts alike.
// A mention in the playlist's first tag picks none.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

class TitleMatch {
 public:
  explicit TitleMatch(std::string baseName) : baseName_(std::move(baseName)) {}

  // The playlist's next tag; true when it is the one that picks the title.
  bool tag(const std::string& text);
  // The last tag given is the one that picks the title.
  bool picksNow() const { return index_ && *index_ + 1 == tags_; }
  // A tag mentioned the base name: the choice is made (also when it was the first tag,
  // which picks none).
  bool decided() const { return mentioned_; }
  // The index of the tag that picks the title, counting from 0; nullopt when none does.
  const std::optional<std::size_t>& index() const { return index_; }

 private:
  std::string baseName_;
  std::size_t tags_ = 0;
  bool mentioned_ = false;
  std::optional<std::size_t> index_;
};

// Cuts `lines` (the playlist's tags from the first on) down to the title around line
// `match`: from the nearest title line above it to the first closing title line after
// line 0. Returns false, leaving every line, when there is no match among the lines.
bool cutToTitle(std::vector<std::string>& lines, const std::optional<std::size_t>& match);

}  // namespace tessaly
