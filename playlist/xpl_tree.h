// The tree "Read XPL" shows: top-level nodes with one level of entries, within bounds that
// a hostile playlist cannot grow.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tessaly {

struct TreeNode {
  std::string text;
  std::vector<TreeNode> children;
};

// The longest label the tree and the log show, in characters.
constexpr std::size_t kMaxLabel = 300;

// Adds an entry under the top-level node `node`; false when the tree is full (32,768
// entries), which the first entry left out says.
bool addTreeEntry(std::vector<TreeNode>& tree, std::size_t node, std::string text);

}  // namespace tessaly
