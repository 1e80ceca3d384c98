#include "disc/disc.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "disc/disc_folder.h"
#include "disc/title_reader.h"
#include "platform/error.h"
#include "playlist/attr_value.h"
#include "playlist/read_xpl.h"

namespace tessaly {
namespace {

constexpr std::int64_t kExtraMs = 10 * 60 * 1000;  // titles shorter are extras

// The number of a playlist's name VPLSTnnn.XPL (in any case), or -1 for another name.
int playlistNumber(const std::string& name) {
  const std::string upper = upperAscii(name);
  if (upper.size() != 12 || !upper.starts_with("VPLST") || !upper.ends_with(".XPL")) return -1;
  int number = 0;
  for (std::size_t at = 5; at < 8; ++at) {
    if (upper[at] < '0' || upper[at] > '9') return -1;
    number = number * 10 + (upper[at] - '0');
  }
  return number;
}

struct PlaylistFile {
  std::string name;
  std::string path;
};

// The playlists of ADV_OBJ by their numbers.
std::map<int, PlaylistFile> playlistFiles(const DiscFiles& source, const Folder& disc) {
  std::map<int, PlaylistFile> files;
  const DiscEntry* objects = disc.find("ADV_OBJ");
  if (!objects || !objects->folder) return files;
  const Folder folder(source, disc.pathOf(*objects));
  for (const DiscEntry& entry : folder.entries()) {
    const int number = playlistNumber(entry.name);
    if (number >= 0 && !entry.folder)
      files.emplace(number, PlaylistFile{entry.name, folder.pathOf(entry)});
  }
  return files;
}

// A clip's EVO: the file of the .MAP's stem and the extension .EVO in the video folder.
void findEvo(DiscClip& clip, const Folder& video) {
  const std::string stem = clip.map.substr(0, clip.map.rfind('.'));
  const DiscEntry* evo = video.find(stem + ".EVO");
  if (!evo || evo->folder) return;
  clip.evo = evo->name;
  clip.evoSize = evo->size;
}

DiscPlaylist readDiscPlaylist(const DiscFiles& files, const PlaylistFile& file,
                              const Folder& video) {
  DiscPlaylist playlist;
  playlist.file = file.name;
  TitleReader reader;
  try {
    const auto input = files.open(file.path, Access::Exclusive);
    scanPlaylist(*input, [&](const std::string& tag) { reader.tag(tag); });
  } catch (const Error& error) {
    playlist.error = error.what();
    return playlist;
  }
  playlist.titles = reader.finish();
  for (DiscTitle& title : playlist.titles) {
    for (DiscClip& clip : title.clips) findEvo(clip, video);
  }
  return playlist;
}

bool hasClips(const DiscPlaylist& playlist) {
  return std::any_of(playlist.titles.begin(), playlist.titles.end(),
                     [](const DiscTitle& title) { return !title.clips.empty(); });
}

bool playable(const DiscTitle& title) {
  return title.durationMs >= 0 && !title.clips.empty() &&
         std::all_of(title.clips.begin(), title.clips.end(),
                     [](const DiscClip& clip) { return clip.evo.has_value(); });
}

// The boot playlist's index: the highest-numbered with a title with clips, else the
// highest-numbered.
std::size_t bootIndex(const std::vector<DiscPlaylist>& playlists) {
  for (std::size_t n = playlists.size(); n-- > 0;) {
    if (hasClips(playlists[n])) return n;
  }
  return playlists.size() - 1;
}

}  // namespace

std::int64_t evoBytes(const DiscTitle& title) {
  std::int64_t bytes = 0;
  for (const DiscClip& clip : title.clips) bytes += clip.evoSize;
  return bytes;
}

void markTitles(std::vector<DiscTitle>& titles, bool boot) {
  DiscTitle* main = nullptr;
  for (DiscTitle& title : titles) {
    if (!boot || !playable(title)) continue;
    if (!main || title.durationMs > main->durationMs ||
        (title.durationMs == main->durationMs && evoBytes(title) > evoBytes(*main))) {
      main = &title;
    }
  }
  if (main) main->main = true;
  for (DiscTitle& title : titles) {
    title.extra = !title.main && title.durationMs >= 0 && title.durationMs < kExtraMs;
  }
}

const DiscTitle* Disc::mainFeature() const {
  for (const DiscPlaylist& playlist : playlists) {
    for (const DiscTitle& title : playlist.titles) {
      if (title.main) return &title;
    }
  }
  return nullptr;
}

std::string durationText(std::int64_t ms) {
  if (ms < 0) return "no duration";
  const std::int64_t seconds = ms / 1000;
  char text[40];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

Disc readDisc(const std::string& path) {
  return readDisc(folderFiles(), discFolder(path));
}

Disc readDisc(const DiscFiles& files, const std::string& root) {
  Disc disc;
  disc.path = root;
  const Folder top(files, disc.path);
  const DiscEntry* videoFolder = top.find("HVDVD_TS");
  disc.videoFolder = videoFolder ? top.pathOf(*videoFolder) : std::string();
  const Folder video(files, disc.videoFolder);
  std::vector<DiscPlaylist> playlists;
  for (const auto& [number, file] : playlistFiles(files, top)) {
    playlists.push_back(readDiscPlaylist(files, file, video));
  }
  if (playlists.empty()) return disc;
  const std::size_t boot = bootIndex(playlists);
  disc.boot = playlists[boot].file;
  disc.playerBoot = playlists.back().file;
  for (std::size_t n = 0; n < playlists.size(); ++n) markTitles(playlists[n].titles, n == boot);
  std::rotate(playlists.begin(), playlists.begin() + static_cast<std::ptrdiff_t>(boot),
              playlists.begin() + static_cast<std::ptrdiff_t>(boot) + 1);
  disc.playlists = std::move(playlists);
  return disc;
}

}  // namespace tessaly
