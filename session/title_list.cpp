#include "session/title_list.h"

#include "disc/disc_folder.h"

namespace tessaly {
namespace {

std::string kindOf(const DiscTitle& title) {
  if (title.main) return "main feature";
  return title.extra ? "extra" : "";
}

std::string clipsOf(const DiscTitle& title) {
  std::string text = std::to_string(title.clips.size());
  const char* separator = ": ";
  for (const DiscClip& clip : title.clips) {
    text += separator + clip.evo.value_or(clip.map + " (no EVO)");
    separator = ", ";
  }
  return text;
}

std::string clipPaths(const DiscOperand& disc, const DiscTitle& title) {
  std::string lines;
  for (const DiscClip& clip : title.clips) {
    if (!lines.empty()) lines += '\n';
    lines += clip.evo ? disc.files->pathOf(disc.disc.videoFolder, *clip.evo) : clip.map;
  }
  return lines;
}

TitleRow titleRow(const DiscOperand& disc, const DiscPlaylist& playlist, const DiscTitle& title) {
  return {playlist.file,
          std::to_string(title.number),
          title.name,
          durationText(title.durationMs),
          clipsOf(title),
          kindOf(title),
          clipPaths(disc, title)};
}

void showTitles(Session& s, std::shared_ptr<const DiscOperand> disc) {
  TitleList& list = s.fMain.lvTitles;
  list = {};
  s.TitleDisc = std::move(disc);
  if (s.TitleDisc) {
    list.disc = s.TitleDisc->disc.videoFolder;
    for (const DiscPlaylist& playlist : s.TitleDisc->disc.playlists) {
      for (const DiscTitle& title : playlist.titles) {
        if (title.main) list.selected = static_cast<int>(list.rows.size());
        list.rows.push_back(titleRow(*s.TitleDisc, playlist, title));
      }
    }
  }
}

}  // namespace

void listTitles(Session& s, const std::string& path) {
  showTitles(s, nullptr);
  showTitles(s, std::make_shared<const DiscOperand>(readDiscOperand(path)));
}

void listTitlesAround(Session& s, const std::string& path) {
  const std::optional<std::string> folder = findDiscFolder(path);
  if (folder) {
    listTitles(s, *folder);
  } else {
    showTitles(s, nullptr);
  }
}

const DiscTitle* selectedTitle(const Session& s) {
  int row = s.fMain.lvTitles.selected;
  if (!s.TitleDisc || row < 0) return nullptr;
  for (const DiscPlaylist& playlist : s.TitleDisc->disc.playlists) {
    if (row < static_cast<int>(playlist.titles.size())) {
      return &playlist.titles[static_cast<std::size_t>(row)];
    }
    row -= static_cast<int>(playlist.titles.size());
  }
  return nullptr;
}

}  // namespace tessaly
