// MKVToolNix's programs run as child processes: mkvmerge making the Matroska file (its
// progress in the status bar, its warnings and errors in the log), mkvpropedit setting its
// title, and mkvmerge -J describing it. Cancel (and a stop signal on the command line)
// stops each of them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/job_observer.h"

namespace tessaly {

// The message for an MKVToolNix program that is not in PATH: what to install, or how the
// operator does without it (`leaveOut`).
std::string notFound(const std::string& program, const std::string& leaveOut);

// Throws that message for mkvmerge unless PATH holds it as an executable file: a job that
// would end in the Matroska step checks it before it reads its first byte.
void requireMkvmerge(const std::string& leaveOut);

// Runs mkvmerge with `arguments` (its own, the program's name left out), writing `output`.
// Returns the number of its warnings, nullopt when the operator stopped it. Its exit status
// 1 (warnings) is a success; 2, an error line whatever the status, a signal or no mkvmerge
// in PATH throw, the last "mkvmerge was not found; install
// MKVToolNix (Debian package mkvtoolnix) or " + `leaveOut` (how the operator does
// without it), as does each program below. Its command line is read as UTF-8 whatever
// the locale, and its messages are written so. Its progress goes to status panel 1, its
// errors to the log as they come; its warnings are counted, and once it ended the log has
// "mkvmerge: 328 warnings, e.g.:" and the first three. The observer's stop test is asked
// at each breath.
std::optional<std::size_t> runMkvmerge(JobObserver& observer,
                                       const std::vector<std::string>& arguments,
                                       const std::string& output, const std::string& leaveOut);

// Sets the title of the Matroska file `output` with mkvpropedit, for a title that cannot
// travel on mkvmerge's command line: the value goes inside the argument "title=...",
// which no program reads as an option. Its warnings as mkvmerge's; nullopt when stopped; a
// failure throws.
std::optional<std::size_t> setMatroskaTitle(JobObserver& observer, const std::string& output,
                                            const std::string& title, const std::string& leaveOut);

// What `mkvmerge -J` says of `output` (its JSON text); nullopt when stopped. A failure to
// run it, or its failure to read the file, throws.
std::optional<std::string> identifyMatroska(JobObserver& observer, const std::string& output,
                                            const std::string& leaveOut);

}  // namespace tessaly
