// A program of the field run as a child process (mkvmerge): its standard output and error
// read line by line while it runs, and stopped when its caller asks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "shell/error.h"

namespace tessaly {

// The program is not in PATH.
class ProgramNotFound : public Error {
 public:
  using Error::Error;
};

struct ProgramEnd {
  bool stopped = false;  // the caller asked it to stop, and it was sent SIGTERM
  int exitStatus = -1;   // its exit status; -1 when a signal ended it
  int signal = 0;        // the signal that ended it, or 0
};

// Runs `arguments` (the first one the program, looked up in PATH) with standard input
// from /dev/null and standard output and error in one pipe, whose lines (cut at "\n" or
// "\r", without them) go to `line`. `stop` is asked before every read of the output and at
// least every 100 ms; true sends the program SIGTERM and ends the wait for its output.
// Returns when the program has ended. Throws ProgramNotFound, or Error when it cannot be
// started.
ProgramEnd runProgram(const std::vector<std::string>& arguments,
                      const std::function<void(const std::string&)>& line,
                      const std::function<bool()>& stop);

}  // namespace tessaly
