// tessaly-cli xpl XPL [--evo EVO]: "Read XPL", then the memo, the tree and the boxes
// that the playlist labelled.
#include <cstdio>

#include "catalogue/selection.h"
#include "cli/evo_steps.h"
#include "cli/standard_output.h"
#include "cli/verbs.h"
#include "playlist/read_xpl.h"
#include "shell/invoke.h"

namespace tessaly::cli {
namespace {

void printTree(const std::vector<TreeNode>& nodes, const std::string& indent) {
  for (const auto& node : nodes) {
    std::printf("%s%s\n", indent.c_str(), node.text.c_str());
    printTree(node.children, indent + "  ");
  }
}

template <typename Boxes>
void printLabelled(const Boxes& boxes, BoxGroup group) {
  for (std::size_t n = 0; n < boxes.size(); ++n) {
    if (!boxes[n].enabled || !boxes[n].ticked) continue;
    std::printf("%s\t%s\n", boxName(group, static_cast<int>(n)).c_str(), boxes[n].caption.c_str());
  }
}

void printResults(const Window& w) {
  std::puts("[memo]");
  for (const auto& line : w.mXPL.lines) std::puts(line.c_str());
  std::puts("[tree]");
  printTree(w.tvXPL.nodes, "");
  std::puts("[boxes]");
  printLabelled(w.cbVideo, BoxGroup::Video);
  printLabelled(w.cbAudio, BoxGroup::Audio);
  printLabelled(w.cbSub, BoxGroup::Sub);
}

int runXpl(Session& s, const Arguments& arguments) {
  const std::string xpl = singleOperand(arguments, "playlist file");
  if (arguments.has("--evo")) chooseEVO(s, arguments.value("--evo"));
  chooseXPL(s, xpl);
  if (!invoke(s, bReadXPLClick)) return kJobFailed;
  flushStandardOutput();
  printResults(s.fMain);
  return kSuccess;
}

}  // namespace

Verb xplVerb() {
  return {"xpl",
          "XPL",
          "Reads the playlist XPL as \"Read XPL\" does: the log of the run, then the playlist\n"
          "      one tag per line under [memo], the title's tree under [tree] and the labelled\n"
          "      stream boxes (name, a tab, caption) under [boxes].",
          {{"--evo", "EVO", "the EVO file whose title is looked for (chosen first, as a drop)"}},
          runXpl};
}

}  // namespace tessaly::cli
