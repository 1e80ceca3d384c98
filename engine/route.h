// Payload routing in writing mode: a run of payload goes to the open output of its
// stream when that stream's check box is ticked.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/pass_state.h"
#include "shell/session.h"

namespace tessaly {

// Appends the run to the output entry of the packet's kind and current stream number
// (video n: slot 1 + n, audio n: 17 + n, subpicture n: 33 + n) when the box numbered n
// is ticked now and the entry is open; otherwise writes nothing. One write per run.
void routeRun(Session& session, const PassState& state, const std::uint8_t* run, std::size_t size);

}  // namespace tessaly
