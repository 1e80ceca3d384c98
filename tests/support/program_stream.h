// Test files written with the test-stream writer, and what a demux must make of them.
// Header-only: the test programs that include it link tessaly_pswriter.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {

using Bytes = std::vector<std::uint8_t>;
using Build = std::function<void(tools::PsWriter&)>;

// Writes the program stream that `build` makes to `path`; returns, per slot, the bytes
// that slot's output must hold.
inline std::map<int, Bytes> writeProgramStream(const std::string& path, const Build& build,
                                               std::uint64_t seed = 1) {
  tools::MemorySink sink;
  tools::PsWriter writer(sink, {.seed = seed, .audioBound = 3});
  build(writer);
  writeFile(path, sink.bytes);
  std::map<int, Bytes> expected;
  for (const auto& [slot, e] : writer.expected()) expected[slot] = e.bytes;
  return expected;
}

}  // namespace tessaly::testing
