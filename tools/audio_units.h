// An encoded audio stream as the feature mix takes it: its frames found by the core's
// frame walker, each at its own playing time (the durations of the frames before it), so
// that every packet is stamped with the time of the first frame starting in it, as on a
// disc, however the frames' sizes vary (TrueHD's do).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/codecs.h"
#include "tools/feature_mix.h"

namespace tessaly::tools {

// `bytes` of `coding` (not LPCM, whose frames are the packets'), as `stream`: its frames
// the units, those a decoder can start at the entries, their durations its playing time.
// Throws std::invalid_argument when the walker finds no frame in it.
Elementary framedAudio(const Stream& stream, AudioCoding coding, std::vector<std::uint8_t> bytes);

}  // namespace tessaly::tools
