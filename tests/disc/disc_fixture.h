// A disc folder built by hand in a fresh temporary folder: HVDVD_TS with EVO files of
// given sizes, ADV_OBJ with playlists.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "disc/disc.h"
#include "support/temp_dir.h"

namespace tessaly::testing {

class DiscFixture : public ::testing::Test {
 protected:
  DiscFixture() {
    std::filesystem::create_directories(dir.file("disc/HVDVD_TS"));
    std::filesystem::create_directories(dir.file("disc/ADV_OBJ"));
  }

  std::string discPath() const { return dir.file("disc"); }
  void evo(const std::string& name, std::size_t size) {
    writeFile(dir.file("disc/HVDVD_TS/" + name), std::string(size, '\0'));
  }
  void playlist(const std::string& name, const std::string& text) {
    writeFile(dir.file("disc/ADV_OBJ/" + name), text);
  }

  TempDir dir;
};

// The title of number `number` in playlist `file`; fails the test without it.
inline const DiscTitle& titleOf(const Disc& disc, const std::string& file, int number) {
  for (const DiscPlaylist& playlist : disc.playlists) {
    if (playlist.file != file) continue;
    for (const DiscTitle& title : playlist.titles) {
      if (title.number == number) return title;
    }
  }
  throw std::runtime_error("no title " + std::to_string(number) + " in " + file);
}

}  // namespace tessaly::testing
