// A session with an input and an output folder, and program streams written with the
// test-stream writer, for the demux job's tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "session/file_choice.h"
#include "session/read_evo.h"
#include "session/selection.h"
#include "support/open_files.h"
#include "support/program_stream.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tessaly::testing {

// A navigation pack, then `rounds` packs each of VC-1 0, DD+ 0 and subpicture 0.
inline Build feature(int rounds) {
  return [rounds](tools::PsWriter& w) {
    w.navPack();
    for (int n = 0; n < rounds; ++n) {
      w.pack(tools::Stream::vc1(0));
      w.pack(tools::Stream::ddPlus(0), 1500);
      w.pack(tools::Stream::subpicture(0), 700);
    }
  };
}

class JobTest : public ::testing::Test {
 protected:
  JobTest() { s.fMain.eWorkdir.text = out.path(); }

  // Writes the stream that `build` makes as `name` in the input folder and returns
  // what each slot's output must hold.
  std::map<int, Bytes> writeEvo(const std::string& name, const Build& build,
                                std::uint64_t seed = 1) {
    return writeProgramStream(in.file(name), build, seed);
  }

  void choose(const std::string& name) { WMDropFiles(s, {in.file(name)}); }

  // Ticks the box of `slot` with the caption "Read EVO" would give it.
  void tick(int slot, const std::string& caption) {
    CheckBox& box = slotBox(s.fMain, slot);
    box.caption = caption;
    setTicked(s, box, true);
  }

  std::vector<std::uint8_t> output(const std::string& name) const {
    return readFile(out.file(name));
  }

  // The log's last `count` lines.
  std::vector<std::string> lastLines(std::size_t count) const {
    const auto& lines = s.fMain.mMessage.lines;
    return {lines.end() - static_cast<std::ptrdiff_t>(count), lines.end()};
  }

  bool logged(const std::string& line) const {
    const auto& lines = s.fMain.mMessage.lines;
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  // After every job, success or failure: nothing stays open and the guard is released.
  void expectAllClosed() const {
    EXPECT_FALSE(heldOpen(s.fMain.eEVOfile.text));
    EXPECT_FALSE(heldOpen(out.path(), true));
    EXPECT_FALSE(s.busy);
  }

  RecordingHost host;
  Session s{host};
  TempDir in;
  TempDir out;
};

}  // namespace tessaly::testing
