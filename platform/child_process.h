// A program of the field run as a child process (mkvmerge): its standard output and error
// read line by line while it runs, and stopped when its caller asks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/error.h"

namespace tessaly {

// The program is not in PATH.
class ProgramNotFound : public Error {
 public:
  using Error::Error;
};

struct ProgramEnd {
  bool stopped =
      false;  // the caller asked it to stop: its group was sent SIGTERM (SIGKILL after 5 s)
  int exitStatus = -1;  // its exit status; -1 when a signal ended it
  int signal = 0;       // the signal that ended it, or 0
};

// Runs `arguments` (the first one the program, looked up in PATH) in a process group of
// its own, with standard input from /dev/null and standard output and error in one pipe,
// whose lines (cut at "\n" or "\r", without them, each cut to its first 64 KiB) go to
// `line`. `stop` is asked at least every 100 ms until the program has ended, also after it
// closed its output and while it winds down after a stop; true sends the group SIGTERM,
// then SIGKILL when it still runs 5 s later. Returns when the program has ended. Throws
// ProgramNotFound, or Error when it cannot be started.
ProgramEnd runProgram(const std::vector<std::string>& arguments,
                      const std::function<void(const std::string&)>& line,
                      const std::function<bool()>& stop);

}  // namespace tessaly
