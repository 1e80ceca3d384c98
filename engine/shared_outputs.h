// The audio outputs that a pass fills from more than one source, and the warnings that
// say so at the pass's end: the routing by number puts every accepted audio packet of a
// number into one output whatever its coding, and MPEG-audio packets into the output of
// the current audio number (routed by sub-stream id, nothing is shared).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/pass_state.h"

namespace tessaly {

class SharedOutputs {
 public:
  // A packet start of the pass.
  void add(const PacketStart& packet);
  // First a line for each audio number whose accepted packets had more than one coding,
  // then one for each audio number that MPEG-audio payload followed; each kind in
  // ascending number.
  std::vector<std::string> warnings() const;

 private:
  static constexpr std::size_t kNumbers = 16;               // audio numbers 0..15
  std::array<std::vector<AudioCoding>, kNumbers> codings_;  // in the order first met
  std::array<bool, kNumbers> mpegAudio_{};
};

}  // namespace tessaly
