// The tooltip of a stream box whose stream "Read EVO" or "Demux" found: its codec, ids,
// delay and language, one line each.
#pragma once

#include <map>
#include <string>

#include "catalogue/job_report.h"

namespace tessaly {

std::string streamTip(const StreamEntry& entry);

// The tips of the boxes whose streams the last "Read EVO" or "Demux" found in the EVO
// file chosen now, by box name; none for a file that was chosen since.
std::map<std::string, std::string> streamTips(const Session& session);

}  // namespace tessaly
