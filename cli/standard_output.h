// Standard output as GNU tools treat it: a write that fails (a full disk, a closed
// pipe) is remembered, and the program reports it and fails at its end.
#pragma once

namespace tessaly::cli {

// Flushes standard output; remembers the system's reason for the first failure.
void flushStandardOutput();

// Flushes standard output for the last time. False, after "tessaly-cli: write error:
// <reason>" on standard error, when anything written to it was lost.
bool standardOutputComplete();

}  // namespace tessaly::cli
