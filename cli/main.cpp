// tessaly-cli: the command-line front end of the tool.
#include <unistd.h>

#include <string>
#include <vector>

#include "cli/verbs.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return tessaly::cli::runCommand(args, ::isatty(STDERR_FILENO) != 0);
}
