// "Read XPL" over arbitrary bytes, the title phase included, with an arbitrary
// BaseName taken from the end of the input. The only error a playlist may raise is the
// operator's integer conversion message; whatever happens, the file is released.
#include <string>

#include "fuzz/fuzz_session.h"
#include "platform/error.h"
#include "session/read_xpl_click.h"
#include "support/open_files.h"
#include "support/recording_host.h"

namespace tessaly {
namespace {

using fuzzing::require;

// Memo lines hold the tags' printable bytes, control bytes having become spaces.
bool printable(const std::vector<std::string>& lines) {
  for (const auto& line : lines) {
    for (const char c : line) {
      if (static_cast<unsigned char>(c) < 0x20) return false;
    }
  }
  return true;
}

// The title phase marks labelled tracks with 1 in slots 1..48 and touches nothing else.
bool onlyMarks(const SlotTable& table) {
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (table[slot] != -1 && (table[slot] != 1 || slot > 48)) return false;
  }
  return true;
}

}  // namespace
}  // namespace tessaly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessaly;
  const std::string base = fuzzing::takeTail(data, size, 24);
  const std::string path = fuzzing::scratch() + "VPLST000.XPL";
  fuzzing::writeBytes(path, data, size);

  testing::RecordingHost host;
  Session s{host};
  s.fMain.eXPLfile.text = path;
  s.XPLname = "VPLST000.XPL";
  s.BaseName = base;
  try {
    bReadXPLClick(s);
    require(s.fMain.mXPL.visible && s.fMain.bReadXPL.enabled,
            "a finished run left the memo hidden");
  } catch (const Error& error) {
    require(std::string(error.what()).ends_with("' is not a valid integer value"),
            "a playlist raised an error other than a conversion failure");
  }
  require(!testing::heldOpen(path) && !s.busy, "the playlist stays open after the run");
  require(printable(s.fMain.mXPL.lines), "a memo line holds a control byte");
  require(onlyMarks(s.StreamTable), "the title phase stored something other than a mark");
  return 0;
}
