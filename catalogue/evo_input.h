// The chosen EVO file as a job's input: opening it and logging its size.
#pragma once

#include "shell/files.h"
#include "shell/session.h"

namespace tessaly {

// Logs "Opening file " + EVOname, shows "Opening" and opens the file named by
// eEVOfile as InputStream, which starts the job's findings; throws "Cannot open
// file ..." and leaves it closed.
void openEVO(Session& session, Access access);

// Logs the size of InputStream in whole mebibytes, rounded down: "File size: N Mbytes.".
void logFileSize(Session& session);

}  // namespace tessaly
