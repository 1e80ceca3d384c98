#include "session/session.h"

namespace tessaly {

Session::Session(Host& h) : host(h) {}

}  // namespace tessaly
