// MKVToolNix's programs run as child processes: mkvmerge making the Matroska file (its
// progress in the status bar, its warnings and errors in the log), mkvpropedit setting its
// title, and mkvmerge -J describing it. Cancel (and a stop signal on the command line)
// stops each of them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/job_observer.h"

namespace tessaly {

// Runs mkvmerge with `arguments` (its own, the program's name left out), writing `output`.
// Returns false when the operator stopped it. Its exit status 1 (warnings) is a success;
// 2, a signal or no mkvmerge in PATH throw, the last "mkvmerge was not found; install
// MKVToolNix (Debian package mkvtoolnix) or " + `leaveOut` (how the operator does
// without it), as does each program below. Its command line is read as UTF-8 whatever
// the locale, and its messages are written so. Its progress goes to status panel 1, its
// warnings and errors to the log; the observer's stop test is asked at each breath.
bool runMkvmerge(JobObserver& observer, const std::vector<std::string>& arguments,
                 const std::string& output, const std::string& leaveOut);

// Sets the title of the Matroska file `output` with mkvpropedit, for a title that cannot
// travel on mkvmerge's command line: the value goes inside the argument "title=...",
// which no program reads as an option. False when stopped; a failure throws.
bool setMatroskaTitle(JobObserver& observer, const std::string& output, const std::string& title,
                      const std::string& leaveOut);

// What `mkvmerge -J` says of `output` (its JSON text); nullopt when stopped. A failure to
// run it, or its failure to read the file, throws.
std::optional<std::string> identifyMatroska(JobObserver& observer, const std::string& output,
                                            const std::string& leaveOut);

}  // namespace tessaly
