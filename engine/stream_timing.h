// The stream records of a job, gathered from the port: each packet start added to its
// slot's record, and the delays between the streams' first time stamps.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/pass_port.h"
#include "shell/findings.h"
#include "shell/time_origin.h"

namespace tessaly {

// A stream found: its slot's record keeps the first value the job registered.
void recordFound(StreamRecords& records, const StreamFound& found);

// A packet start of a stream: counted in its slot's record with its identifying value
// and its PTS. MPEG-audio packets, and packets that belong to no slot, are not counted.
void recordPacket(StreamRecords& records, const PacketStart& packet);

// The record's smallest PTS, as a 33-bit time stamp.
std::uint64_t smallestPts(const StreamRecord& record);

// delay_ms of a found stream: its smallest PTS minus that of video stream 0 (without
// a timed video stream 0: of the earliest timed stream found), in milliseconds rounded
// to the nearest, halves away from zero. None when either has no PTS.
std::optional<std::int64_t> delayMs(const StreamRecords& records, int slot);

}  // namespace tessaly
