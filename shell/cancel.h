// The Cancel button.
#pragma once

#include "shell/session.h"

namespace tessaly {

// While scanning, stops at once; while writing, only after the operator says Yes to
// "Are you sure to stop demuxing?". The engine sees the flag before its next chunk.
void bCancelClick(Session& session);

}  // namespace tessaly
