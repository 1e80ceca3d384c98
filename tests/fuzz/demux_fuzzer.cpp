// The engine over arbitrary bytes: a scanning and a writing pass of demux() over a
// file, and of the walker fed in pieces whose sizes the input chooses, all boxes
// ticked. The first byte of every payload run enters Window, so where the pieces cut a
// payload may change which later start codes are seen; what must hold for any cut is
// checked for every one: the table only holds values the identification rules store,
// both modes fill it alike, one log line per stream found, no more written than read. The
// file passes must match the walker fed in the file's own 32 KB chunks.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "engine/demux.h"
#include "engine/pes_walker.h"
#include "fuzz/fuzz_session.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tessaly {
namespace {

using Bytes = std::vector<std::uint8_t>;
using fuzzing::require;

struct Outcome {
  std::array<std::int32_t, kSlots> table{};
  std::vector<std::string> log;
  std::map<int, Bytes> outputs;
  std::uint64_t scrambled = 0;
};

// N of demux()'s closing "Warning: N packets are scrambled; ..." line, or 0.
std::uint64_t warnedCount(const std::vector<std::string>& logged) {
  const std::string head = "Warning: ";
  for (const auto& line : logged) {
    if (line.starts_with(head)) return std::stoull(line.substr(head.size()));
  }
  return 0;
}

bool within(std::int32_t value, std::int32_t first, std::int32_t last) {
  return value >= first && value <= last;
}

// Whether identification can store `value` in `slot`: the stream's own id, whose
// number (low bits) is the slot's number.
bool storable(int slot, std::int32_t value) {
  if (value == -1) return true;
  if (slot < kAudioSlot) {
    const int number = slot - kVideoSlot;
    return number < 2 && (within(value, 0xE0, 0xE3) || within(value, 0x55, 0x56)) &&
           ((value - (value >= 0xE0 ? 0xE0 : 0x55)) & 1) == number;
  }
  if (slot >= kSubSlot) return value == 0x20 || value == 0x60;
  const int number = slot - kAudioSlot;
  const int mask = within(value, 0xA0, 0xA7) || within(value, 0xC0, 0xCF) ? 0x0F : 0x07;
  const bool known = within(value, 0x80, 0x8F) || within(value, 0xA0, 0xA7) ||
                     within(value, 0xB0, 0xB7) || within(value, 0xC0, 0xCF);
  return known && (value & mask) == number;
}

class Harness {
 public:
  Harness() {
    for (auto& box : s.fMain.cbVideo) box.ticked = true;
    for (auto& box : s.fMain.cbAudio) box.ticked = true;
    for (auto& box : s.fMain.cbSub) box.ticked = true;
  }

  // demux() in `mode` over the bytes as a file.
  Outcome viaFile(const Bytes& bytes, int mode) {
    const std::string input = fuzzing::scratch() + "FEATURE_1.EVO";
    fuzzing::writeBytes(input, bytes.data(), bytes.size());
    s.InputStream = std::make_unique<InputFile>(input, Access::Shared);
    return run(mode, "file", [&] {
      demux(s, mode);
      return warnedCount(host.logged);
    });
  }

  // A fresh walker fed the bytes in `pieces` (cycled).
  Outcome viaPieces(const Bytes& bytes, int mode, const std::vector<std::size_t>& pieces) {
    return run(mode, "cut", [&] {
      s.StreamTable.reset();
      PesWalker walker(s, mode);
      std::size_t piece = 0;
      for (std::size_t at = 0; at < bytes.size(); piece = (piece + 1) % pieces.size()) {
        const std::size_t count = std::min(pieces[piece], bytes.size() - at);
        walker.feed(bytes.data() + at, count);
        at += count;
      }
      return walker.state().Scrambled;
    });
  }

 private:
  template <typename Pass>
  Outcome run(int mode, const std::string& folder, const Pass& pass) {
    host.logged.clear();
    const std::string prefix = fuzzing::scratch() + folder + "-out";
    if (mode != 0) {
      for (int slot : OutputSet::jobOrder())
        s.OutputStreams.open(slot, prefix + std::to_string(slot));
    }
    const std::uint64_t scrambled = pass();
    s.InputStream.reset();
    s.OutputStreams.closeAll();
    Outcome outcome;
    outcome.scrambled = scrambled;
    for (int slot = 1; slot <= kSlots; ++slot) outcome.table[slot - 1] = s.StreamTable[slot];
    for (const auto& line : host.logged) {
      if (line.ends_with(" found!")) outcome.log.push_back(line);  // the streams found
    }
    if (mode != 0) {
      for (int slot : OutputSet::jobOrder()) {
        outcome.outputs[slot] = testing::readFile(prefix + std::to_string(slot));
      }
    }
    return outcome;
  }

  testing::RecordingHost host;
  Session s{host};
};

std::size_t totalSize(const Outcome& outcome) {
  std::size_t total = 0;
  for (const auto& [slot, bytes] : outcome.outputs) total += bytes.size();
  return total;
}

// What a scanning and a writing pass over the same bytes, cut alike, must show.
void checkPasses(const Outcome& scan, const Outcome& write, std::size_t size) {
  std::size_t found = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    require(storable(slot, scan.table[slot - 1]), "the table holds a value no rule stores");
    found += scan.table[slot - 1] != -1;
  }
  require(scan.log.size() == found, "not one log line per stream found");
  require(write.table == scan.table, "writing fills the table otherwise than scanning");
  require(write.log.empty(), "writing logs a stream found");
  require(write.scrambled == scan.scrambled, "the modes count scrambled packets otherwise");
  require(totalSize(write) <= size, "more payload written than read");
}

}  // namespace
}  // namespace tessaly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessaly;
  FuzzedDataProvider provider(data, size);
  std::vector<std::size_t> pieces(1 + provider.ConsumeIntegralInRange<std::size_t>(0, 3));
  for (auto& piece : pieces) piece = provider.ConsumeIntegralInRange<std::size_t>(1, 40000);
  const Bytes bytes = provider.ConsumeRemainingBytes<std::uint8_t>();

  Harness harness;
  const Outcome scan = harness.viaFile(bytes, 0);
  const Outcome write = harness.viaFile(bytes, 1);
  checkPasses(scan, write, bytes.size());
  const std::vector<std::size_t> chunks{kReadBufferSize};
  const Outcome chunked = harness.viaPieces(bytes, 0, chunks);
  require(chunked.log == scan.log && chunked.scrambled == scan.scrambled,
          "demux() scans unlike its walker");
  require(harness.viaPieces(bytes, 1, chunks).outputs == write.outputs,
          "demux() writes unlike its walker");
  checkPasses(harness.viaPieces(bytes, 0, pieces), harness.viaPieces(bytes, 1, pieces),
              bytes.size());
  return 0;
}
