// tessaly-cli run as a program on generated files: the fixture of the command-line tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/program_stream.h"

namespace tessaly::cli {

namespace fs = std::filesystem;
using testing::Bytes;
using tools::PsWriter;
using tools::Stream;
using Outcome = testing::ChildRun;
using testing::lines;

using testing::commandOutput;

class CliRunTest : public ::testing::Test {
 protected:
  // Runs tessaly-cli with `args`; standard output and error are captured.
  Outcome run(const std::vector<std::string>& args) {
    return testing::runChild(TESSALY_CLI, args, logs);
  }

  // Writes a program stream as `name` in the input folder; returns each slot's output.
  std::map<int, Bytes> writeEvo(const std::string& name, const testing::Build& build,
                                std::uint64_t seed = 1) {
    return testing::writeProgramStream(in.file(name), build, seed);
  }

  static void feature(PsWriter& w) {
    w.navPack();
    for (int n = 0; n < 30; ++n) {
      w.pack(Stream::vc1(0));
      w.pack(Stream::mlp(1), 1400);
      w.pack(Stream::ddPlus(3), 1000);
      w.pack(Stream::subpicture(12), 500);
    }
  }

  static Bytes joined(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
  }

  testing::TempDir in;
  testing::TempDir out;
  testing::TempDir logs;
};

}  // namespace tessaly::cli
