// Steps that the verbs share: their operands and the exit status after their jobs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/cli_observer.h"

namespace tessaly::cli {

// The single operand of a verb; anything else is a UsageError naming `what`.
std::string singleOperand(const Arguments& arguments, const std::string& what);

// The full path of an EVO file operand; a name without the extension .EVO, .VOB, .MPG or
// .MPEG (in any case) is a UsageError.
std::string evoFile(const std::string& path);

// False, after "Not an MPEG program stream: "PATH"", for a readable file whose first MiB
// shows no program stream. A file that cannot be read is left to the job, which tells why.
bool programStreamInput(CliObserver& observer, const std::string& evo);

// The full path of a playlist operand; a name without the extension .XPL is a UsageError.
std::string xplFile(const std::string& path);

// The base names of EVO files (FEATURE_1 for .../FEATURE_1.EVO), for the playlist's clips
// that they hold; empty paths are left out.
std::vector<std::string> clipNames(const std::vector<std::string>& evoFiles);

// Makes the output folder that --out names, with its parents; false, after "Cannot create
// folder "DIR". REASON", when it cannot be made.
bool createOutputFolder(CliObserver& observer, const std::string& folder);

// The job's last words: "Done." (endJob), then, when the Matroska step gave warnings, a
// warning that `film` was made with them, so that a run with warnings does not end on a
// bare "Done.".
void endWithWarnings(CliObserver& observer, std::size_t warnings, const std::string& film);

// The exit status once the jobs have ended normally: a job that a stop signal cut short
// did not do all that was asked, which is told on standard error and by exit status
// 128 + the signal's number.
int statusAfterJobs(CliObserver& observer);

}  // namespace tessaly::cli
