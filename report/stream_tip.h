// The tooltip of a stream box whose stream "Read EVO" or "Demux" found: its codec, ids,
// delay and language, one line each.
#pragma once

#include <map>
#include <string>

#include "catalogue/job_report.h"

namespace tessaly {

std::string streamTip(const StreamEntry& entry);

// The tips of the boxes whose streams `report` found in `chosenFile` (the EVO file chosen
// now), by box name; none when the report is of another file.
std::map<std::string, std::string> streamTips(const JobReport& report,
                                              const std::string& chosenFile);

}  // namespace tessaly
