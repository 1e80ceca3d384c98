#include "playlist/read_xpl.h"

#include <span>
#include <string>

#include "catalogue/selection.h"
#include "playlist/attr_lists.h"
#include "playlist/playlist_facts.h"
#include "playlist/title_phase.h"
#include "playlist/xpl_scanner.h"
#include "shell/invoke.h"
#include "shell/report.h"

namespace tessaly {
namespace {

// Real playlists are far below 1 MiB; a larger file is refused before it is read.
constexpr std::int64_t kMaxPlaylistSize = 16 * 1048576;
// Real playlists have a few thousand tags. Each memo line costs the window far more than
// its bytes, so the memo keeps the first 65,536 lines and the log says what was left out.
constexpr std::size_t kMaxMemoLines = 65536;

void openPlaylist(Session& s) {
  const std::string& path = s.fMain.eXPLfile.text;
  s.InputStream = std::make_unique<InputFile>(path, Access::Exclusive);
  if (s.InputStream->size() > kMaxPlaylistSize) {
    throw openError(path, "The playlist is larger than 16 MiB");
  }
}

// Reads InputStream in ReadBuffer-sized chunks, showing progress, and scans each.
void scanFile(Session& s, XplScanner& scanner) {
  InputFile& file = *s.InputStream;
  const std::string size = std::to_string(file.size());
  while (file.position() < file.size()) {
    const std::size_t got = file.read(s.ReadBuffer.data(), s.ReadBuffer.size());
    if (got == 0) break;  // the file shrank since it was opened
    slog(s, std::to_string(file.position()) + "/" + size + " bytes", 1);
    scanner.feed(std::span<const std::uint8_t>(s.ReadBuffer.data(), got));
  }
}

// The node "Titles" after the four fixed ones: a line for every title of the playlist,
// within the tree's bounds.
void showTitles(Session& s) {
  auto& nodes = s.fMain.tvXPL.nodes;
  std::erase_if(nodes, [](const TreeNode& node) { return node.text == "Titles"; });
  if (s.Playlist.titles.empty()) return;
  nodes.push_back({"Titles", {}});
  for (const TitleFacts& title : s.Playlist.titles) {
    if (!addTreeEntry(s, nodes.size() - 1, titleLine(title).substr(0, kMaxLabel))) break;
  }
}

// The run of "Read XPL".
void readXPL(Session& s) {
  auto& w = s.fMain;
  Resetcbs(s);
  w.bReadXPL.enabled = false;
  w.PageControl = tsXPL;
  InputRelease release(s);  // closes the playlist also when a step fails
  openPlaylist(s);
  log(s, "Open " + s.XPLname);
  log(s, "Filesize: " + std::to_string(s.InputStream->size()) + " bytes");

  XplRun run;
  std::uint64_t tags = 0;
  s.Playlist = {};
  FactsReader facts(s.InputStream->path(), s.BaseName);
  XplScanner scanner([&](const std::string& tag) {
    if (++tags <= kMaxMemoLines) w.mXPL.lines.push_back(tag);
    checkTag(s, run, tag);
    facts.tag(tag);
  });
  w.mXPL.lines.clear();
  w.mXPL.visible = false;
  scanFile(s, scanner);
  s.InputStream.reset();
  s.Playlist = facts.finish();
  if (tags > kMaxMemoLines) {
    log(s, "Warning: the playlist has " + std::to_string(tags) +
               " tags; the memo shows the first " + std::to_string(kMaxMemoLines) + ".");
  }
  titlePhase(s, run);
  showTitles(s);
  w.mXPL.visible = true;

  log(s, "Done.");
  slog(s, "Ready", 0);
  slog(s, "", 1);
  w.bReadXPL.enabled = true;
}

}  // namespace

void bReadXPLClick(Session& s) {
  runJob(s, readXPL);
}

}  // namespace tessaly
