// The tooltip of a stream box whose stream "Read EVO" or "Demux" found: its codec, ids,
// delay and language, one line each.
#pragma once

#include <string>

#include "catalogue/job_report.h"

namespace tessaly {

std::string streamTip(const StreamEntry& entry);

}  // namespace tessaly
