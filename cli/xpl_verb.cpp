// tessaly-cli xpl XPL [--evo EVO] [--chapters FILE] [--titles]: "Read XPL", then the memo,
// the tree and the boxes that the playlist labelled, or the list of titles; the chosen
// EVO file's chapters into a file.
#include <cstdio>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <utility>

#include "catalogue/box_names.h"
#include "cli/evo_steps.h"
#include "cli/standard_output.h"
#include "cli/verbs.h"
#include "job/demux.h"
#include "job/output_check.h"
#include "job/output_names.h"
#include "mux/text_file.h"
#include "platform/paths.h"
#include "playlist/chapter_files.h"
#include "playlist/clip_chapters.h"
#include "playlist/playlist_facts.h"
#include "playlist/read_xpl.h"

namespace tessaly::cli {
namespace {

void printTree(const std::vector<TreeNode>& nodes, const std::string& indent) {
  for (const auto& node : nodes) {
    std::printf("%s%s\n", indent.c_str(), node.text.c_str());
    printTree(node.children, indent + "  ");
  }
}

// The boxes the title labels, in box order, each with its last label.
void printLabelled(const std::vector<BoxLabel>& labels) {
  std::map<std::pair<StreamGroup, int>, std::string> boxes;
  for (const BoxLabel& label : labels) boxes[{label.group, label.number}] = label.label;
  for (const auto& [box, caption] : boxes) {
    std::printf("%s\t%s\n", boxName(box.first, box.second).c_str(), caption.c_str());
  }
}

void printResults(const XplResult& result) {
  std::puts("[memo]");
  for (const auto& line : result.memo) std::puts(line.c_str());
  std::puts("[tree]");
  printTree(result.tree, "");
  std::puts("[boxes]");
  printLabelled(result.labels);
}

// The EVO file and the segment a demux of it would continue with, when that exists.
std::vector<std::string> segmentsOf(const std::string& evo) {
  std::vector<std::string> segments;
  for (const std::string& segment : demuxSegments(evo, true)) {
    std::error_code error;
    if (segments.empty() || std::filesystem::exists(segment, error)) segments.push_back(segment);
  }
  return segments;
}

// The chapters that the clips of `evo` and its continuation hold into `path`, from 0; an
// error when no title plays the EVO file or those clips have no chapters.
void writeChapters(const PlaylistFacts& facts, const std::string& evo, const std::string& path) {
  const TitleFacts* whole = facts.titleFor(baseName(fileNamePart(evo)));
  if (!whole) throw std::runtime_error("no title of the playlist plays " + fileNamePart(evo));
  const TitleFacts title = titleOfClips(*whole, clipNames(segmentsOf(evo)));
  if (title.chapters.empty()) {
    const std::string where = whole->chapters.empty() ? "" : " in " + fileNamePart(evo);
    throw std::runtime_error("the title \"" + title.name + "\" has no chapters" + where);
  }
  writeTextFile(path, chapterFile(title, path));
}

int runXpl(CliObserver& observer, const Arguments& arguments) {
  const std::string xpl = singleOperand(arguments, "playlist file");
  if (arguments.has("--chapters") && !arguments.has("--evo")) {
    throw UsageError("--chapters needs --evo: the chapters are those of its title");
  }
  // The chapter file may be neither input: checked before either is read.
  const auto checkChapters = [&] {
    NameCheck(inputIds({arguments.value("--evo"), xpl})).check({arguments.value("--chapters")});
  };
  if (arguments.has("--chapters") && !observer.succeeded(checkChapters)) return kJobFailed;
  const std::string evo = arguments.has("--evo") ? evoFile(arguments.value("--evo")) : "";
  const XplResult result =
      readXpl({xplFile(xpl), baseName(fileNamePart(evo)), {}, {}, {}}, observer);
  if (!observer.succeeded([&] { rethrowFailure(result.error); })) return kJobFailed;
  endJob(observer);
  if (arguments.has("--chapters") && !observer.succeeded([&] {
        writeChapters(result.facts, evo, arguments.value("--chapters"));
      })) {
    return kJobFailed;
  }
  flushStandardOutput();
  if (arguments.has("--titles")) {
    for (const TitleFacts& title : result.facts.titles) std::puts(titleLine(title).c_str());
  } else {
    printResults(result);
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
