// Points the user's settings at a fresh folder for one test: XDG_CONFIG_HOME names a
// TempDir while the object lives and is restored afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace tessaly::testing {

class ConfigHome {
 public:
  ConfigHome() {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) old_ = old;
    point(dir.path());
  }
  ~ConfigHome() {
    if (old_) {
      ::setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
  }
  ConfigHome(const ConfigHome&) = delete;
  ConfigHome& operator=(const ConfigHome&) = delete;

  // Sets XDG_CONFIG_HOME to `folder` for the rest of the test.
  void point(const std::string& folder) { ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1); }
  // Where the tool's key lives under the fresh folder.
  std::string keyFile() const { return dir.file("Corvane Software/Tessaly.reg"); }

  TempDir dir;

 private:
  std::optional<std::string> old_;
};

}  // namespace tessaly::testing
