// The settings file over arbitrary bytes: the text parser, its round trip through the
// formatter, and RegRead loading the key from the file. A value of the wrong type may
// raise "Invalid data type for '...'" and nothing else.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_session.h"
#include "platform/error.h"
#include "platform/reg_text.h"
#include "session/settings.h"
#include "support/recording_host.h"

namespace {

const std::string kKeyLine = "[HKEY_CURRENT_USER\\Software\\Corvane Software\\Tessaly]";

// The settings folder lives in the scratch folder for the whole run.
std::string keyFile() {
  static const std::string file = [] {
    const std::string home = tessaly::fuzzing::scratch() + "config";
    std::filesystem::create_directories(home + "/Corvane Software");
    ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    return home + "/Corvane Software/Tessaly.reg";
  }();
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessaly;
  const std::string text(data, data + size);
  if (const auto values = parseRegText(text, kKeyLine)) {
    const auto again = parseRegText(formatRegText(kKeyLine, *values), kKeyLine);
    fuzzing::require(again && *again == *values, "formatting the values does not read back");
  }

  fuzzing::writeBytes(keyFile(), data, size);
  testing::RecordingHost host;
  Session s{host};
  try {
    RegRead(s);
  } catch (const Error& error) {
    fuzzing::require(std::string(error.what()).starts_with("Invalid data type for '"),
                     "loading raised an error other than a type mismatch");
  }
  return 0;
}
