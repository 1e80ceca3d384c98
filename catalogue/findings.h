// What a "Read EVO" or "Demux" found out about each stream, beside the stream table: the
// facts of its packets, its output and the caption that named it, and the passes'
// warnings. The report, the stream boxes' tooltips and the Matroska step read it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/stream_facts.h"

namespace tessaly {

struct Findings {
  std::string file;           // the EVO file as the job opened it; empty: nothing found yet
  std::int64_t size = 0;      // its size in bytes
  std::string continuedWith;  // the second segment, when the job continued
  StreamFactsTable streams;
  std::map<int, std::string> outputs;   // slot -> its first file, as "Creating " logged it
  std::map<int, std::string> captions;  // slot -> the caption its output was named with
  std::vector<std::string> warnings;    // the passes' warning lines, as logged
};

}  // namespace tessaly
