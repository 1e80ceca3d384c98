// Settings files that the tool cannot load whole: they were replaced at close without a
// trace, and every save made the file private.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "session/settings.h"
#include "support/config_home.h"
#include "support/error_message.h"
#include "support/recording_host.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const std::string kHead =
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_CURRENT_USER\\Software\\Corvane Software\\Tessaly]\n";

std::string modeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return std::to_string(info.st_mode & 0777);
}

TEST(SettingsRegression, SettingsAreNeverThrownAwaySilently) {
  testing::ConfigHome home;
  testing::RecordingHost host;
  const std::string file = home.keyFile();
  const std::string backup = file + ".bak";
  fs::create_directories(fs::path(file).parent_path());
  const auto store = [&](const std::string& text, fs::perms mode) {
    testing::writeFile(file, text);
    fs::permissions(file, mode);
    return testing::readFile(file);
  };
  const auto closeWindow = [&] {
    Session s{host};
    s.fMain.eWorkdir.text = "/saved";
    RegWrite(s);
  };

  // Not the key's format (UTF-16): nothing loads, and the close keeps it as the backup.
  const Bytes utf16 = store(std::string("\xFF\xFEW\0i\0n\0", 8), fs::perms(0644));
  Session first{host};
  RegRead(first);
  EXPECT_EQ(first.fMain.eWorkdir.text, "");
  closeWindow();
  EXPECT_EQ(testing::readFile(backup), utf16);
  EXPECT_EQ(modeOf(file), std::to_string(0644));

  // A value of the wrong type ends the load: the values after it would be overwritten.
  const Bytes typed = store(kHead + "\"Width\"=\"wide\"\n\"Workdir\"=\"/kept\"\n", fs::perms(0640));
  Session second{host};
  EXPECT_EQ(testing::messageOf([&] { RegRead(second); }), "Invalid data type for 'Width'");
  closeWindow();
  EXPECT_EQ(testing::readFile(backup), typed);  // the one backup, replaced
  EXPECT_EQ(modeOf(file), std::to_string(0640));

  // A file loaded whole is replaced without a backup, keeping its mode.
  Session third{host};
  RegRead(third);
  EXPECT_EQ(third.fMain.eWorkdir.text, "/saved");
  fs::permissions(file, fs::perms(0604));
  closeWindow();
  EXPECT_EQ(testing::readFile(backup), typed);
  EXPECT_EQ(modeOf(file), std::to_string(0604));
}

}  // namespace
}  // namespace tessaly
