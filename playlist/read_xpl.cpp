#include "playlist/read_xpl.h"

#include <functional>
#include <optional>

#include "engine/pass_input.h"
#include "platform/paths.h"
#include "playlist/attr_lists.h"
#include "playlist/playlist_facts.h"
#include "playlist/title_cut.h"
#include "playlist/title_phase.h"
#include "playlist/xpl_scanner.h"

namespace tessaly {
namespace {

// Real playlists are far below 1 MiB; a larger file is refused before it is read.
constexpr std::int64_t kMaxPlaylistSize = 16 * 1048576;
// Real playlists have a few thousand tags. Each memo line costs the window far more than
// its bytes, so the memo keeps the first 65,536 lines and the log says what was left out.
constexpr std::size_t kMaxMemoLines = 65536;
constexpr std::size_t kChunkSize = 32768;

void checkPlaylistSize(const PassInput& input) {
  if (input.size() > kMaxPlaylistSize) {
    throw openError(input.path(), "The playlist is larger than 16 MiB");
  }
}

void openPlaylist(std::optional<FileInput>& input, const std::string& path) {
  input.emplace(path, Access::Exclusive);
  checkPlaylistSize(*input);
}

// Reads the file in 32 KiB chunks and scans each; `chunk` is told the bytes read so far.
void scanFile(PassInput& file, XplScanner& scanner,
              const std::function<void(std::int64_t)>& chunk) {
  while (file.position() < file.size()) {
    const auto bytes = file.next(kChunkSize);
    if (bytes.empty()) break;  // the file shrank since it was opened
    chunk(file.position());
    scanner.feed(bytes);
  }
}

// The node "Titles" after the title's nodes: a line for every title of the playlist,
// within the tree's bounds.
void showTitles(XplResult& result) {
  auto& nodes = result.tree;
  std::erase_if(nodes, [](const TreeNode& node) { return node.text == "Titles"; });
  if (result.facts.titles.empty()) return;
  nodes.push_back({"Titles", {}});
  for (const TitleFacts& title : result.facts.titles) {
    if (!addTreeEntry(nodes, nodes.size() - 1, titleLine(title).substr(0, kMaxLabel))) break;
  }
}

void runXpl(const XplRequest& request, JobObserver& observer, XplResult& result) {
  std::optional<FileInput> file;
  openPlaylist(file, request.file);
  result.opened = true;
  observer.log("Open " + fileNamePart(request.file));
  observer.log("Filesize: " + std::to_string(file->size()) + " bytes");
  XplRun run;
  std::uint64_t tags = 0;
  TitleMatch match(request.baseName);
  FactsReader facts(file->path(), request.baseName);
  XplScanner scanner([&](const std::string& tag) {
    if (++tags <= kMaxMemoLines) result.memo.push_back(tag);
    checkTag(result.attributes, run, tag);
    match.tag(tag);
    facts.tag(tag, match);
  });
  const std::string size = std::to_string(file->size());
  scanFile(*file, scanner, [&](std::int64_t read) {
    observer.status(1, std::to_string(read) + "/" + size + " bytes");
  });
  file.reset();
  result.facts = facts.finish();
  if (tags > kMaxMemoLines) {
    observer.log("Warning: the playlist has " + std::to_string(tags) +
                 " tags; the memo shows the first " + std::to_string(kMaxMemoLines) + ".");
  }
  titlePhase(result, match.index(), run, observer);
  showTitles(result);
}

}  // namespace

XplResult readXpl(const XplRequest& request, JobObserver& observer) {
  XplResult result;
  result.attributes = request.attributes;
  result.tree = request.tree;
  result.table = request.table;
  try {
    runXpl(request, observer, result);
  } catch (...) {
    result.end = JobEnd::Failed;
    result.error = std::current_exception();
  }
  return result;
}

void scanPlaylist(const std::string& path, const std::function<void(const std::string&)>& onTag) {
  std::optional<FileInput> file;
  openPlaylist(file, path);
  scanPlaylist(*file, onTag);
}

void scanPlaylist(PassInput& playlist, const std::function<void(const std::string&)>& onTag) {
  checkPlaylistSize(playlist);
  XplScanner scanner(onTag);
  scanFile(playlist, scanner, [](std::int64_t) {});
}

PlaylistFacts readPlaylist(const std::string& path, const std::string& baseName) {
  TitleMatch match(baseName);
  FactsReader facts(path, baseName);
  scanPlaylist(path, [&](const std::string& tag) {
    match.tag(tag);
    facts.tag(tag, match);
  });
  return facts.finish();
}

}  // namespace tessaly
