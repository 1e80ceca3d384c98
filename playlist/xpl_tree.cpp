#include "playlist/xpl_tree.h"

namespace tessaly {
namespace {

// Real titles have a few tracks and at most some hundred chapters, but the lookup sites
// keep their values, so a hostile title of short lines could fill the tree with labels of
// three long values each: it lists at most 32,768 entries, then says that more were left out.
constexpr std::size_t kTreeEntries = 32768;

}  // namespace

bool addTreeEntry(std::vector<TreeNode>& tree, std::size_t node, std::string text) {
  std::size_t entries = 0;
  for (const auto& top : tree) entries += top.children.size();
  if (entries < kTreeEntries) {
    tree.at(node).children.push_back({std::move(text), {}});
    return true;
  }
  if (entries == kTreeEntries) tree[node].children.push_back({"(further entries left out)", {}});
  return false;
}

}  // namespace tessaly
