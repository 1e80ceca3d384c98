#include "cli/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tessaly::cli {
namespace {

int firstError = 0;  // errno of the first failed flush; 0 when none or unknown

}  // namespace

void flushStandardOutput() {
  errno = 0;
  if (std::fflush(stdout) != 0 && firstError == 0) firstError = errno;
}

bool standardOutputComplete() {
  flushStandardOutput();
  if (!std::ferror(stdout)) return true;
  // A failure inside printf's own flush leaves no reason behind: then none is named.
  std::fprintf(stderr, "tessaly-cli: write error%s%s\n", firstError != 0 ? ": " : "",
               firstError != 0 ? std::strerror(firstError) : "");
  return false;
}

}  // namespace tessaly::cli
