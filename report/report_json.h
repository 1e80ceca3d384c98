// The report as JSON (UTF-8, two-space indent, keys in a fixed order): what
// `tessaly-cli scan --json` prints and `tessaly-cli demux --report` writes.
#pragma once

#include <string>

#include "audio/break_words.h"
#include "catalogue/job_report.h"

namespace tessaly {

// The report's JSON text, ending in a line break; a stream with an entry in `breaks` (a
// demux's timed streams) has its `breaks` list last.
std::string reportJson(const JobReport& report, const StreamBreaks& breaks = {});

// An identifying value as the report and the tooltips write it: "0xC0".
std::string idText(std::uint8_t id);

}  // namespace tessaly
