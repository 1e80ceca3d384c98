// The report of what the session's last "Read EVO" or "Demux" found, with the playlist
// title that the last "Read XPL" found for the EVO file chosen now.
#pragma once

#include "catalogue/job_report.h"
#include "session/session.h"

namespace tessaly {

// The title that plays the chosen EVO file, when the last "Read XPL" found it for the
// file chosen now; nullptr otherwise.
const TitleFacts* chosenTitle(const Session& session);

// The report; empty of streams before any "Read EVO" or "Demux".
JobReport sessionReport(const Session& session);

}  // namespace tessaly
