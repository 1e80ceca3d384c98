// "Read EVO": scan the chosen EVO file and turn the stream table into ticked,
// captioned stream boxes.
#pragma once

#include "session/session.h"

namespace tessaly {

// The click handler of bCheck.
void bCheckClick(Session& session);

}  // namespace tessaly
