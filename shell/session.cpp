#include "shell/session.h"

namespace tessaly {

Session::Session(Host& h) : host(h), ReadBuffer(kReadBufferSize) {}

}  // namespace tessaly
