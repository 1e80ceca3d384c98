// The Cancel button.
#pragma once

#include "session/session.h"

namespace tessaly {

// While scanning, stops at once; while writing, only after the operator says Yes to
// "Are you sure to stop demuxing?"; once a stop is under way, a further click asks nothing.
// The engine sees the flag before its next chunk.
void bCancelClick(Session& session);

}  // namespace tessaly
