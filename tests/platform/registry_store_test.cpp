#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/reg_text.h"
#include "support/config_home.h"
#include "support/error_message.h"
#include "support/file_size_limit.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::ConfigHome;
using testing::messageOf;

const std::string kKeyPath = "\\Software\\Corvane Software\\Tessaly";
const std::string kKeyLine = "[HKEY_CURRENT_USER\\Software\\Corvane Software\\Tessaly]";
const std::string kHead = "Windows Registry Editor Version 5.00\n\n" + kKeyLine + "\n";

RegValue integer(std::uint32_t number) {
  RegValue value;
  value.integer = number;
  return value;
}

RegValue text(const std::string& content) {
  RegValue value;
  value.kind = ValueKind::String;
  value.text = content;
  return value;
}

RegValue binary(std::vector<std::uint8_t> bytes, const std::string& tag = "") {
  RegValue value;
  value.kind = tag.empty() ? ValueKind::Binary : ValueKind::Other;
  value.bytes = std::move(bytes);
  value.typeTag = tag;
  return value;
}

TEST(RegTextTest, EveryTypeRoundTripsInTheExportFormat) {
  const std::vector<NamedValue> values{
      {"Width", integer(300)},
      {"Top", integer(0xFFFFFF9C)},  // -100
      {"Workdir", text("C:\\out \"new\"\\")},
      {"EVOdir", text("/media/Überfilm/ディスク/\nline two\r")},
      {"Empty", text("")},
      {"Install", binary({0x01, 0x02, 0xAB, 0xFF, 0x00, 0x10, 0x7F, 0x80})},
      {"NoBytes", binary({})},
      {"Multi", binary({0x61, 0x00, 0x00, 0x00}, "hex(7)")},
      {"", text("default")},
      {"Na\"me\\", integer(1)},
  };
  const std::string file = formatRegText(kKeyLine, values);
  EXPECT_EQ(file.rfind(kHead + "\"Width\"=dword:0000012c\n\"Top\"=dword:ffffff9c\n", 0), 0u);
  for (const char* line :
       {"\"Workdir\"=\"C:\\\\out \\\"new\\\"\\\\\"\n",
        "\"EVOdir\"=\"/media/Überfilm/ディスク/\\nline two\\r\"\n", "\"Empty\"=\"\"\n",
        "\"Install\"=hex:01,02,ab,ff,00,10,7f,80\n", "\"NoBytes\"=hex:\n",
        "\"Multi\"=hex(7):61,00,00,00\n", "@=\"default\"\n", "\"Na\\\"me\\\\\"=dword:00000001\n"}) {
    EXPECT_NE(file.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(parseRegText(file, kKeyLine), values);
}

TEST(RegTextTest, ToleratesWhatEditorsAndOtherToolsLeaveBehind) {
  const std::string longText(200000, 'x');
  const std::string file =
      "\xEF\xBB\xBF\r\nWindows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Width\"=dword:00000001\r\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\corvane software\\tessaly]\r\n"
      "; a comment\r\n"
      "\"Width\"=dword:00000002\r\n"
      "\"Height\" = DWORD:1f4\r\n"
      "\"Top\"=dword:123456789\r\n"  // nine digits: more than 32 bits
      "\"Left\"=dword:-5\r\n"        // not hex
      "\"Continue\"=dword:\r\n"      // no digits
      "\"SubExt=\"sup\"\r\n"         // name without its closing quote
      "\"VideoExt\"=\"mpv\r\n"       // text without its closing quote
      "\"AudioExt\"=\"mpa\" trailing\r\n"
      "garbage line ]]] \"\"==\r\n"
      "\"Bytes\"=hex:01,zz\r\n"
      "\"Missing\"=-\r\n"
      "\"width\"=dword:00000003\r\n"  // the same name again: the last one wins
      "\"Long\"=\"" +
      longText +
      "\"\r\n"
      "\"Wrapped\"=hex(b):01,02,03,\\\r\n  04,05,06,07,\\\r\n  08\r\n"
      "\"Odd\"=\"a\\tb\"\r\n";
  const auto values = parseRegText(file, kKeyLine);
  ASSERT_TRUE(values.has_value());
  std::vector<std::string> names;
  for (const auto& entry : *values) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Width", "Height", "Long", "Wrapped", "Odd"}));
  EXPECT_EQ((*values)[0].value, integer(3));
  EXPECT_EQ((*values)[1].value, integer(500));
  EXPECT_EQ((*values)[2].value, text(longText));
  EXPECT_EQ((*values)[3].value, binary({1, 2, 3, 4, 5, 6, 7, 8}, "hex(b)"));
  EXPECT_EQ((*values)[4].value, text("a\\tb"));  // an unknown escape stays as written
}

TEST(RegTextTest, TextInAnotherFormatIsNoKey) {
  for (const std::string& file :
       {std::string(), std::string("\x00\xFF\xFE garbage\n", 12),
        std::string("REGEDIT4\n\n") + kKeyLine,
        std::string("[HKEY_CURRENT_USER]\n\"Width\"=dword:00000001\n"),
        std::string(
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Other]\n"),
        "Windows Registry Editor Version 5.00\n\n" + kKeyLine + "\\Sub]\n"}) {
    EXPECT_FALSE(parseRegText(file, kKeyLine).has_value()) << file;
  }
  EXPECT_EQ(parseRegText(kHead, kKeyLine), std::vector<NamedValue>{});
}

TEST(RegistryKeyTest, WritesCreateTheFileAndReadsCheckTheType) {
  ConfigHome home;
  RegistryKey absent(kKeyPath);
  EXPECT_EQ(absent.filePath(), home.keyFile());
  EXPECT_FALSE(absent.openRead());

  RegistryKey key(kKeyPath);
  ASSERT_TRUE(key.openWrite());
  key.writeInteger("Left", -8);
  key.writeString("Workdir", "/out/\"x\"");
  key.writeBinary("Install", {1, 2, 3, 4, 5, 6, 7, 8});
  key.commit();

  RegistryKey reread(kKeyPath);
  ASSERT_TRUE(reread.openRead());
  EXPECT_TRUE(reread.valueExists("LEFT"));
  EXPECT_FALSE(reread.valueExists("Top"));
  EXPECT_EQ(reread.readInteger("Left"), -8);
  EXPECT_EQ(reread.readString("Workdir"), "/out/\"x\"");
  EXPECT_EQ(reread.readBinary("Install"), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(messageOf([&] { reread.readInteger("Workdir"); }), "Invalid data type for 'Workdir'");
  EXPECT_EQ(messageOf([&] { reread.readString("Install"); }), "Invalid data type for 'Install'");
  EXPECT_EQ(messageOf([&] { reread.readBinary("Left"); }), "Invalid data type for 'Left'");
  EXPECT_EQ(messageOf([&] { reread.readString("Top"); }), "Invalid data type for 'Top'");
}

TEST(RegistryKeyTest, WritingBackKeepsUnknownValuesAndReplacesForeignFiles) {
  ConfigHome home;
  fs::create_directories(home.dir.file("Corvane Software"));
  testing::writeFile(home.keyFile(), kHead + "\"Extra\"=hex(7):41,00\n\"Left\"=\"old\"\n@=\"d\"\n");
  RegistryKey key(kKeyPath);
  ASSERT_TRUE(key.openWrite());
  key.writeInteger("Left", 5);
  key.writeInteger("Top", 6);
  key.commit();
  const auto bytes = testing::readFile(home.keyFile());
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            kHead +
                "\"Extra\"=hex(7):41,00\n\"Left\"=dword:00000005\n@=\"d\"\n"
                "\"Top\"=dword:00000006\n\n");

  testing::writeFile(home.keyFile(), std::string("not a key at all\n\"Keep\"=dword:1\n"));
  RegistryKey foreign(kKeyPath);
  EXPECT_FALSE(foreign.openRead());
  ASSERT_TRUE(foreign.openWrite());
  EXPECT_FALSE(foreign.valueExists("Keep"));
  foreign.writeInteger("Top", 7);
  foreign.commit();
  RegistryKey replaced(kKeyPath);
  ASSERT_TRUE(replaced.openRead());
  EXPECT_EQ(replaced.readInteger("Top"), 7);
  EXPECT_EQ(std::distance(fs::directory_iterator(home.dir.file("Corvane Software")),
                          fs::directory_iterator()),
            1);  // no temporary file left beside it
}

TEST(RegistryKeyTest, AFolderInPlaceOfTheFileCanBeNeitherReadNorWritten) {
  ConfigHome home;
  fs::create_directories(home.keyFile());
  RegistryKey key(kKeyPath);
  EXPECT_FALSE(key.openRead());
  EXPECT_FALSE(key.openWrite());
  EXPECT_TRUE(fs::is_directory(home.keyFile()));
}

TEST(RegistryKeyTest, AKeyWithNoPlaceForItCannotBeOpenedForWriting) {
  ConfigHome home;
  testing::writeFile(home.dir.file("plain"), std::string("a file, not a folder"));
  home.point(home.dir.file("plain"));
  EXPECT_FALSE(RegistryKey(kKeyPath).openWrite());

  home.point(home.dir.file("fresh"));
  EXPECT_TRUE(RegistryKey(kKeyPath).openWrite());  // the folders are made
  EXPECT_TRUE(fs::is_directory(home.dir.file("fresh/Corvane Software")));
  EXPECT_FALSE(fs::exists(home.dir.file("fresh/Corvane Software/Tessaly.reg")));
}

TEST(RegistryKeyTest, FailedCommitNamesTheFirstValueOfTheRound) {
  ConfigHome home;
  RegistryKey key(kKeyPath);
  ASSERT_TRUE(key.openWrite());
  key.writeInteger("First", 1);
  key.writeString("Second", "2");
  key.writeInteger("First", 3);
  testing::FileSizeLimit full(16);  // the disk is "full" after 16 bytes
  EXPECT_EQ(messageOf([&] { key.commit(); }), "Failed to set data for 'First'");
}

TEST(RegistryKeyTest, SavingThroughASymbolicLinkKeepsTheLink) {
  ConfigHome home;
  fs::create_directories(home.dir.file("Corvane Software"));
  fs::create_directories(home.dir.file("dotfiles"));
  testing::writeFile(home.dir.file("dotfiles/Tessaly.reg"), kHead);
  fs::create_symlink(home.dir.file("dotfiles/Tessaly.reg"), home.keyFile());
  RegistryKey key(kKeyPath);
  ASSERT_TRUE(key.openWrite());
  key.writeInteger("Top", 9);
  key.commit();
  EXPECT_TRUE(fs::is_symlink(home.keyFile()));
  const auto bytes = testing::readFile(home.dir.file("dotfiles/Tessaly.reg"));
  EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("\"Top\"=dword:00000009"),
            std::string::npos);
}

TEST(RegistryKeyTest, LocationFollowsTheXdgRulesThenHome) {
  ConfigHome home;
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  ::setenv("HOME", "/home/op", 1);
  const std::string inHome = "/home/op/.config/Corvane Software/Tessaly.reg";
  home.point("");
  EXPECT_EQ(RegistryKey(kKeyPath).filePath(), inHome);
  home.point("relative/config");  // not absolute: ignored
  EXPECT_EQ(RegistryKey(kKeyPath).filePath(), inHome);
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(RegistryKey(kKeyPath).filePath(), inHome);
  ::unsetenv("HOME");
  RegistryKey nowhere(kKeyPath);
  EXPECT_EQ(nowhere.filePath(), "");
  EXPECT_FALSE(nowhere.openRead());
  EXPECT_FALSE(nowhere.openWrite());
  home.point("/etc/xdg/");
  EXPECT_EQ(RegistryKey("\\Software\\A\\B").filePath(), "/etc/xdg/A/B.reg");
  if (oldHome) ::setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace tessaly
