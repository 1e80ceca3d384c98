// The one place where a front end runs a handler and reports the error that ends it.
#pragma once

#include "shell/session.h"

namespace tessaly {

using Handler = void (*)(Session&);

// Runs the handler; an error that escapes it is shown through the host with its
// message. Returns false when the handler ended with an error.
bool invoke(Session& session, Handler handler);

}  // namespace tessaly
