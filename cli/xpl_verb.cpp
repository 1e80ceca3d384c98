// tessaly-cli xpl XPL [--evo EVO] [--chapters FILE] [--titles]: "Read XPL", then the memo,
// the tree and the boxes that the playlist labelled, or the list of titles; the chosen
// EVO file's chapters into a file.
#include <cstdio>
#include <stdexcept>

#include "cli/evo_steps.h"
#include "cli/standard_output.h"
#include "cli/verbs.h"
#include "job/output_check.h"
#include "mux/text_file.h"
#include "playlist/chapter_files.h"
#include "playlist/playlist_facts.h"
#include "session/invoke.h"
#include "session/read_xpl_click.h"
#include "session/selection.h"
#include "session/session_report.h"

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

// The chosen title's chapters into `path`; an error when no title plays the EVO file or
// the title has no chapters.
void writeChapters(const Session& s, const std::string& path) {
  const TitleFacts* title = chosenTitle(s);
  if (!title) throw std::runtime_error("no title of the playlist plays " + s.EVOname);
  if (title->chapters.empty()) {
    throw std::runtime_error("the title \"" + title->name + "\" has no chapters");
  }
  writeTextFile(path, chapterFile(*title, path));
}

int runXpl(Session& s, const Arguments& arguments) {
  const std::string xpl = singleOperand(arguments, "playlist file");
  if (arguments.has("--chapters") && !arguments.has("--evo")) {
    throw UsageError("--chapters needs --evo: the chapters are those of its title");
  }
  // The chapter file may be neither input: checked before either is read.
  const auto checkChapters = [&] {
    NameCheck(inputIds({arguments.value("--evo"), xpl})).check({arguments.value("--chapters")});
  };
  if (arguments.has("--chapters") && !invoke(s, checkChapters)) return kJobFailed;
  if (arguments.has("--evo")) chooseEVO(s, arguments.value("--evo"));
  chooseXPL(s, xpl);
  if (!invoke(s, bReadXPLClick)) return kJobFailed;
  if (arguments.has("--chapters") &&
      !invoke(s, [&] { writeChapters(s, arguments.value("--chapters")); })) {
    return kJobFailed;
  }
  flushStandardOutput();
  if (arguments.has("--titles")) {
    for (const TitleFacts& title : s.Playlist.titles) std::puts(titleLine(title).c_str());
  } else {
    printResults(s.fMain);
  }
  return kSuccess;
}

}  // namespace

Verb xplVerb() {
  return {"xpl",
          "XPL",
          "Reads the playlist XPL as \"Read XPL\" does: the log of the run, then the playlist\n"
          "      one tag per line under [memo], the title's tree under [tree] and the labelled\n"
          "      stream boxes (name, a tab, caption) under [boxes].",
          {{"--evo", "EVO", "the EVO file whose title is looked for (chosen first, as a drop)"},
           {"--chapters", "FILE",
            "write that title's chapters to FILE: Matroska XML for *.xml, else CHAPTERnn text"},
           {"--titles", "",
            "print every title instead, one line each; the log goes to "
            "standard error"}},
          runXpl,
          {"--titles"}};
}

}  // namespace tessaly::cli
