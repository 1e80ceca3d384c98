// The window program's command line: one optional .EVO or .XPL path, --help, --version,
// and the options every Qt program takes, all read before a display is needed.
#pragma once

#include <string>
#include <vector>

namespace tessaly::app {

struct CommandLine {
  enum class Action { Open, Help, Version, UsageError };

  Action action = Action::Open;
  std::string path;                // the file to open as a drop, or empty
  std::vector<char*> qtArguments;  // the program's name and Qt's options, for QApplication
  std::string error;               // what is wrong, for Action::UsageError
};

// Reads argv: "--" ends the options; a further path after the first is ignored, as a drop
// takes its first file.
CommandLine readCommandLine(int argc, char* argv[]);

// The usage, as --help prints it.
const char* usageText();
// The one line a usage error prints: the error and the short usage.
std::string usageErrorLine(const std::string& error);

}  // namespace tessaly::app
