// TrueHD and MLP access units. An access unit's first 16 bits hold a parity nibble and its
// length in 16-bit words; a unit with a major sync (0xF8726FBA TrueHD, 0xF8726FBB MLP)
// tells the sampling rate (40 samples per unit at 48 and 44.1 kHz, twice and four times as
// many at the higher rates) and the substream count that the units up to the next major sync
// use. The walk searches for major syncs only, since no decoder starts elsewhere.
#pragma once

#include <memory>

#include "audio/sync_coding.h"

namespace tessaly {

std::unique_ptr<SyncCoding> mlpCoding();

}  // namespace tessaly
