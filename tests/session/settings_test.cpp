#include "session/settings.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <bit>
#include <filesystem>
#include <sstream>

#include "platform/date_time.h"
#include "platform/reg_text.h"
#include "platform/registry_store.h"
#include "support/config_home.h"
#include "support/error_message.h"
#include "support/recording_host.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::messageOf;

const std::string kKeyLine = "[HKEY_CURRENT_USER\\Software\\Corvane Software\\Tessaly]";
const std::string kHead = "Windows Registry Editor Version 5.00\n\n" + kKeyLine + "\n";

std::vector<std::uint8_t> doubleBytes(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  std::vector<std::uint8_t> bytes;
  for (int n = 0; n < 8; ++n) bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * n)));
  return bytes;
}

// Everything the settings load, in load order, on one line.
std::string loaded(const Session& session) {
  const Window& w = session.fMain;
  const Geometry& g = w.geometry;
  std::ostringstream line;
  line << g.width << ' ' << g.height << ' ' << g.top << ' ' << g.left << ' ' << g.windowState << ' '
       << w.tvXPL.width << ' ' << w.eAudioExt.text << '|' << w.eVideoExt.text << '|'
       << w.eSubExt.text << '|' << w.eWorkdir.text << '|' << session.EVOdir << '|' << session.XPLdir
       << '|' << w.cbContinue.ticked << w.cbFastCheck.ticked << w.cbMatroska.ticked
       << w.cbForTools.ticked;
  return line.str();
}

// Limits the size of files this process writes, as a full disk would, while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  sighandler_t oldHandler_ = SIG_DFL;
};

class SettingsTest : public ::testing::Test {
 protected:
  // The stored values in file order.
  std::vector<NamedValue> stored() const {
    const auto bytes = testing::readFile(home.keyFile());
    auto values = parseRegText(std::string(bytes.begin(), bytes.end()), kKeyLine);
    EXPECT_TRUE(values.has_value());
    return values.value_or(std::vector<NamedValue>{});
  }

  const RegValue& storedValue(const std::string& name) {
    values_ = stored();
    const auto* entry = findValue(values_, name);
    if (entry == nullptr) throw std::runtime_error(name + " not stored");
    return entry->value;
  }

  double storedInstall() {
    const auto& bytes = storedValue("Install").bytes;
    EXPECT_EQ(bytes.size(), 8u);
    std::uint64_t bits = 0;
    for (std::size_t n = 0; n < bytes.size() && n < 8; ++n)
      bits |= std::uint64_t{bytes[n]} << (8 * n);
    return std::bit_cast<double>(bits);
  }

  void store(const std::string& text) {
    fs::create_directories(fs::path(home.keyFile()).parent_path());
    testing::writeFile(home.keyFile(), text);
  }

  testing::ConfigHome home;
  testing::RecordingHost host;
  Session s{host};

 private:
  std::vector<NamedValue> values_;
};

TEST_F(SettingsTest, FirstRunLoadsNothingAndTheFirstCloseCreatesAllFifteenValues) {
  RegRead(s);
  EXPECT_FALSE(fs::exists(home.keyFile()));
  EXPECT_EQ(loaded(s), "370 380 0 0 0 96 mpa|mpv|sup||||1100");

  const double before = localDayCount();
  RegWrite(s);
  const double after = localDayCount();
  using V = ValueKind;
  const std::vector<std::pair<std::string, ValueKind>> expected{
      {"WindowState", V::Integer}, {"Top", V::Integer},       {"Left", V::Integer},
      {"Width", V::Integer},       {"Height", V::Integer},    {"TreeWidth", V::Integer},
      {"AudioExt", V::String},     {"VideoExt", V::String},   {"SubExt", V::String},
      {"Workdir", V::String},      {"EVOdir", V::String},     {"XPLdir", V::String},
      {"Continue", V::Integer},    {"FastCheck", V::Integer}, {"Matroska", V::Integer},
      {"ForTools", V::Integer},    {"Install", V::Binary}};
  std::vector<std::pair<std::string, ValueKind>> written;
  for (const auto& [name, value] : stored()) written.emplace_back(name, value.kind);
  EXPECT_EQ(written, expected);
  EXPECT_EQ(storedValue("Height").integer, 380u);
  EXPECT_EQ(storedValue("AudioExt").text, "mpa");
  EXPECT_EQ(storedValue("FastCheck").integer, 1u);
  const double install = storedInstall();
  EXPECT_GE(install, before);
  EXPECT_LE(install, after);
}

TEST_F(SettingsTest, EverySettingSurvivesARestart) {
  Window& w = s.fMain;
  w.geometry = {-20, -1000, 800, 600, 1};  // minimised, on a screen left of the main one
  w.tvXPL.width = 210;
  w.eAudioExt.text = "ac3";
  w.eVideoExt.text = "vc1";
  w.eSubExt.text = "sub";
  w.eWorkdir.text = "/out/Ähnlich \"x\"\\";
  s.EVOdir = "/media/disc/HVDVD_TS/";
  s.XPLdir = "/media/disc/ADV_OBJ/";
  w.cbContinue.ticked = false;
  w.cbForTools.ticked = true;
  RegWrite(s);
  EXPECT_EQ(storedValue("Continue").integer, 0u);
  EXPECT_EQ(storedValue("ForTools").integer, 1u);

  Session next{host};
  RegRead(next);
  EXPECT_EQ(loaded(next),
            "800 600 -20 -1000 1 210 ac3|vc1|sub|/out/Ähnlich \"x\"\\|/media/disc/HVDVD_TS/|"
            "/media/disc/ADV_OBJ/|0101");
}

TEST_F(SettingsTest, OptionsAreTickedByAnyNonZeroNumberAndOnlyKnownWindowStatesLoad) {
  store(kHead + "\"Continue\"=dword:00000002\n\"FastCheck\"=dword:00000000\n" +
        "\"WindowState\"=dword:00000007\n");
  s.fMain.cbContinue.ticked = false;
  s.fMain.geometry.windowState = 1;
  RegRead(s);
  EXPECT_TRUE(s.fMain.cbContinue.ticked);
  EXPECT_FALSE(s.fMain.cbFastCheck.ticked);
  EXPECT_EQ(s.fMain.geometry.windowState, 1);
}

TEST_F(SettingsTest, AValueOfTheWrongTypeEndsTheLoadThereWithTheValuesBeforeItLoaded) {
  store(kHead + "\"Width\"=\"wide\"\n\"Height\"=dword:00000258\n");
  EXPECT_EQ(messageOf([&] { RegRead(s); }), "Invalid data type for 'Width'");
  EXPECT_EQ(s.fMain.geometry.height, 380);

  // File order differs from load order: the load follows its own order of names.
  store(kHead + "\"FastCheck\"=dword:00000000\n\"Workdir\"=\"/w\"\n\"SubExt\"=dword:00000001\n" +
        "\"Width\"=dword:00000320\n\"Height\"=dword:00000258\n\"Top\"=dword:0000000a\n" +
        "\"Left\"=dword:0000000b\n\"WindowState\"=dword:00000002\n\"TreeWidth\"=dword:00000078\n" +
        "\"AudioExt\"=\"dts\"\n\"VideoExt\"=\"h264\"\n\"EVOdir\"=\"/e/\"\n\"XPLdir\"=\"/x/\"\n");
  EXPECT_EQ(messageOf([&] { RegRead(s); }), "Invalid data type for 'SubExt'");
  EXPECT_EQ(loaded(s), "800 600 10 11 2 120 dts|h264|sup||||1100");
}

TEST_F(SettingsTest, InstallKeepsTheTimeOfTheFirstClose) {
  RegWrite(s);
  EXPECT_GT(storedInstall(), 40000.0);  // after the year 2009
  RegistryKey key("\\Software\\Corvane Software\\Tessaly");
  ASSERT_TRUE(key.openWrite());
  key.writeBinary("Install", doubleBytes(1.5));  // a stamp no clock can give now
  key.commit();

  s.fMain.eWorkdir.text = "/later";
  RegWrite(s);
  EXPECT_EQ(storedInstall(), 1.5);
  EXPECT_EQ(storedValue("Workdir").text, "/later");
  EXPECT_EQ(stored().size(), 17u);
}

TEST_F(SettingsTest, AMaximisedCloseKeepsTheNormalGeometryOfTheLastNormalClose) {
  s.fMain.geometry = {40, 50, 640, 480, 0};
  RegWrite(s);
  s.fMain.geometry = {0, 0, 1920, 1080, 2};
  RegWrite(s);

  Session next{host};
  RegRead(next);
  EXPECT_EQ(loaded(next), "640 480 40 50 2 96 mpa|mpv|sup||||1100");
}

TEST_F(SettingsTest, AClearedOutputFolderIsStoredAndLoadedAsEmpty) {
  s.fMain.eWorkdir.text = "/out";
  RegWrite(s);
  s.fMain.eWorkdir.text = "";
  RegWrite(s);
  EXPECT_EQ(storedValue("Workdir").kind, ValueKind::String);
  EXPECT_EQ(storedValue("Workdir").text, "");

  Session next{host};
  next.fMain.eWorkdir.text = "/typed since the last save";
  RegRead(next);
  EXPECT_EQ(next.fMain.eWorkdir.text, "");
}

TEST_F(SettingsTest, AFileInAnotherFormatLoadsNothingAndIsReplacedAtTheNextClose) {
  store("\x89PNG\r\n\x1a\n\"Width\"=dword:00000320\n");
  RegRead(s);
  EXPECT_EQ(s.fMain.geometry.width, 370);
  RegWrite(s);
  EXPECT_EQ(stored().size(), 17u);
}

TEST_F(SettingsTest, AKeyThatCannotBeOpenedLoadsAndSavesNothingWithoutAMessage) {
  fs::create_directories(home.keyFile());  // a folder where the file belongs
  s.fMain.eWorkdir.text = "/kept";
  EXPECT_NO_THROW(RegRead(s));
  EXPECT_EQ(s.fMain.eWorkdir.text, "/kept");
  EXPECT_NO_THROW(RegWrite(s));
  EXPECT_TRUE(fs::is_empty(home.keyFile()));
}

TEST_F(SettingsTest, ASaveThatFailsHalfwayLeavesTheStoredSettingsIntact) {
  s.fMain.eWorkdir.text = "/first";
  RegWrite(s);
  const auto before = testing::readFile(home.keyFile());
  s.fMain.eWorkdir.text = "/second";
  std::string message;
  {
    FileSizeLimit full(16);  // the new file gets 16 bytes, then the disk is "full"
    message = messageOf([&] { RegWrite(s); });
  }
  EXPECT_EQ(message, "Failed to set data for 'WindowState'");
  EXPECT_EQ(testing::readFile(home.keyFile()), before);
  const fs::path folder = fs::path(home.keyFile()).parent_path();
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  Session next{host};
  RegRead(next);
  EXPECT_EQ(next.fMain.eWorkdir.text, "/first");
}

TEST_F(SettingsTest, ASettingsFolderThatIsAPlainFileSavesNothingWithoutAMessage) {
  testing::writeFile(home.dir.file("plain"), std::string("a file, not a folder"));
  home.point(home.dir.file("plain"));
  EXPECT_NO_THROW(RegWrite(s));
  EXPECT_EQ(testing::readFile(home.dir.file("plain")).size(), 20u);
}

TEST(DateTimeTest, DaysCountFromTheLastDaysOf1899WithTheTimeAsFraction) {
  const auto at = [](int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
  };
  EXPECT_EQ(dayCount(at(1899, 12, 30, 0, 0, 0), 0), 0.0);
  EXPECT_EQ(dayCount(at(1900, 1, 1, 0, 0, 0), 0), 2.0);
  EXPECT_EQ(dayCount(at(2000, 1, 1, 12, 0, 0), 0), 36526.5);
  EXPECT_DOUBLE_EQ(dayCount(at(2024, 2, 29, 6, 0, 0), 500), 45351.25 + 0.5 / 86400);
  EXPECT_DOUBLE_EQ(dayCount(at(2024, 3, 1, 23, 59, 59), 999), 45352.0 + 86399.999 / 86400);
}

}  // namespace
}  // namespace tessaly
