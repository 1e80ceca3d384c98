#include "session/invoke.h"

#include <exception>

#include "platform/error.h"
#include "session/log.h"

namespace tessaly {

bool invoke(Session& session, Handler handler) {
  return invoke(session, [&] { handler(session); });
}

bool invoke(Session& session, const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const StreamError& error) {
    log(session, error.detail());  // which file, and why: the message itself is fixed
    session.host.showError(error.what());
  } catch (const std::exception& error) {
    session.host.showError(error.what());
  }
  return false;
}

void runJob(Session& session, Handler job) {
  if (session.busy) return;
  JobGuard guard(session);
  job(session);
}

}  // namespace tessaly
