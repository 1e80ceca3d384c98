// "Read EVO" as a request and its result: one scanning pass over the EVO file, which logs
// what it opens and each stream it finds.
#pragma once

#include <exception>
#include <string>

#include "catalogue/findings.h"
#include "engine/pass_input.h"
#include "engine/stream_slots.h"
#include "platform/job_observer.h"

namespace tessaly {

struct ScanRequest {
  std::string file;        // the EVO file
  bool fastCheck = false;  // only its first ~300 MB
};

struct ScanResult {
  JobEnd end = JobEnd::Complete;
  std::exception_ptr error;  // what ended a failed scan
  SlotTable table;           // as the pass left it
  Findings found;            // empty of a file when it could not be opened
};

// Logs "Opening file NAME", opens the file shared and scans it: "File size: N Mbytes.",
// the pass's summary, "... found!" per stream, its warnings. Never throws: a failure is
// the result's. The front end ends the job (endJob) once it has shown the streams.
ScanResult scanEvo(const ScanRequest& request, JobObserver& observer);

// The first step of a job on an EVO file, before it opens it: logs "Opening file " + its
// file name and shows "Opening".
void logOpening(const std::string& path, JobObserver& observer);

// Logs the input's size in whole mebibytes, rounded down: "File size: N Mbytes.".
void logFileSize(const PassInput& input, JobObserver& observer);

}  // namespace tessaly
