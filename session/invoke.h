// The one place where a front end runs a handler and reports the error that ends it,
// and the rule that lets one job run at a time.
#pragma once

#include <functional>

#include "session/session.h"

namespace tessaly {

using Handler = void (*)(Session&);

// Runs the handler; an error that escapes it is shown through the host with its
// message, a failed read or write after a log line naming the file and the reason.
// Returns false when the handler ended with an error.
bool invoke(Session& session, Handler handler);
// The same for any other step of a front end (writing a report, a chapter file).
bool invoke(Session& session, const std::function<void()>& step);

// Runs a job ("Read EVO", "Demux", "Read XPL") with the session busy until it ends, also
// by an error; does nothing while another job runs. The jobs share the stream table and
// the records they show their results in, and a pass lets window events (a second click)
// through.
void runJob(Session& session, Handler job);

}  // namespace tessaly
