#include "catalogue/scan.h"

#include "catalogue/job_port.h"
#include "platform/paths.h"

namespace tessaly {
namespace {

constexpr std::int64_t kMebibyte = 1048576;

}  // namespace

void logOpening(const std::string& path, JobObserver& observer) {
  observer.log("Opening file " + fileNamePart(path));
  observer.status(0, "Opening");
}

void logFileSize(const PassInput& input, JobObserver& observer) {
  observer.log("File size: " + std::to_string(input.size() / kMebibyte) + " Mbytes.");
}

ScanResult scanEvo(const ScanRequest& request, JobObserver& observer) {
  ScanResult result;
  try {
    logOpening(request.file, observer);
    FileInput input(request.file, Access::Shared);
    result.found.file = input.path();
    result.found.size = input.size();
    observer.status(0, "Reading");
    logFileSize(input, observer);
    JobPort port(observer, result.found, input, PassMode::Scan, true);
    const PassOptions options{PassMode::Scan, request.fastCheck};
    result.end = jobEnd(runJobPass(input, result.table, options, port, observer));
  } catch (...) {
    result.end = JobEnd::Failed;
    result.error = std::current_exception();
  }
  return result;
}

}  // namespace tessaly
