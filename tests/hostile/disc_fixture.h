// The sample disc, written afresh for each test, with its playlist edited as an attacker
// would craft it; tessaly-cli run on it as a child process. Header-only.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/child_process.h"

namespace tessaly::testing {

class DiscTest : public ::testing::Test {
 protected:
  void SetUp() override {
    commandOutput("'" TESSALY_SAMPLE_DISC "' '" + in.file("disc") + "' >/dev/null");
    playlist = textOf(xpl);
  }

  // Replaces the first `from` of the sample playlist by `to`; the test fails without it.
  void edit(const std::string& from, const std::string& to) {
    const auto at = playlist.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    playlist.replace(at, from.size(), to);
    writeFile(xpl, playlist);
  }

  ChildRun run(const std::vector<std::string>& args, std::vector<std::string> environment = {}) {
    return runChild(TESSALY_CLI, args, logs, "", std::move(environment));
  }

  TempDir in;
  TempDir out;
  TempDir logs;
  const std::string evo1 = in.file("disc/HVDVD_TS/FEATURE_1.EVO");
  const std::string evo2 = in.file("disc/HVDVD_TS/FEATURE_2.EVO");
  const std::string xpl = in.file("disc/ADV_OBJ/VPLST000.XPL");
  std::string playlist;
};

}  // namespace tessaly::testing
