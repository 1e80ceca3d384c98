// tessaly-cli: the command-line front end of the tool.
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "cli/verbs.h"

int main(int argc, char** argv) {
  // A file-size limit (ulimit -f) fails the write that passes it, as a full disk does,
  // instead of killing the program with its outputs half made.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return tessaly::cli::runCommand(args, ::isatty(STDERR_FILENO) != 0);
}
