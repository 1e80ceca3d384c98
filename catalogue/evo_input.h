// The chosen EVO file as a job's input: opening it, logging its size, and releasing
// it whatever way the job ends.
#pragma once

#include "shell/files.h"
#include "shell/session.h"

namespace tessaly {

// Logs "Opening file " + EVOname, shows "Opening" and opens the file named by
// eEVOfile as InputStream; throws "Cannot open file ..." and leaves it closed.
void openEVO(Session& session, Access access);

// Logs the size of InputStream in whole mebibytes, rounded down: "File size: N Mbytes.".
void logFileSize(Session& session);

// Releases InputStream when the job's scope ends, also when an error ends it.
class InputRelease {
 public:
  explicit InputRelease(Session& session) : session_(session) {}
  ~InputRelease() { session_.InputStream.reset(); }
  InputRelease(const InputRelease&) = delete;
  InputRelease& operator=(const InputRelease&) = delete;

 private:
  Session& session_;
};

}  // namespace tessaly
