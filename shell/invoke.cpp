#include "shell/invoke.h"

#include <exception>

namespace tessaly {

bool invoke(Session& session, Handler handler) {
  try {
    handler(session);
    return true;
  } catch (const std::exception& error) {
    session.host.showError(error.what());
    return false;
  }
}

void runJob(Session& session, Handler job) {
  if (session.busy) return;
  JobGuard guard(session);
  job(session);
}

}  // namespace tessaly
