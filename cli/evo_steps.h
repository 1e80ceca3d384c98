// Steps that the verbs share: taking the EVO and playlist operands as a drop would, and
// running "Read EVO" as a click on the button would.
#pragma once

#include <string>

#include "cli/arguments.h"
#include "session/session.h"

namespace tessaly::cli {

// The single operand of a verb; anything else is a UsageError naming `what`.
std::string singleOperand(const Arguments& arguments, const std::string& what);

// Drops the file on the session as the window would; a file that the drop rules do
// not take as an EVO file is a UsageError.
void chooseEVO(Session& session, const std::string& path);

// Drops the playlist on the session as the window would; a file that the drop rules
// do not take as a playlist is a UsageError.
void chooseXPL(Session& session, const std::string& path);

// Runs "Read EVO"; its error, if any, is shown on standard error, and so is a fast check
// that stopped before the end of the file. True on success.
bool readEVO(Session& session);

// The exit status once the jobs have ended normally: a job that a stop signal cut short
// did not do all that was asked, which is told on standard error and by exit status
// 128 + the signal's number.
int statusAfterJobs(Session& session);

}  // namespace tessaly::cli
