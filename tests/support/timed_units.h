// Subpicture units read back from files, to check the timed outputs against the stream:
// a program stream's units cut at its time-stamped packets (read with the engine), the
// frames of an HD-DVD SUP file as a reader finds them, and a VobSub index's entries.
// Header-only.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/pass.h"

namespace tessaly::testing {

struct TimedUnit {
  std::uint64_t pts = 0;
  std::vector<std::uint8_t> bytes;
  bool operator==(const TimedUnit&) const = default;
};

// The units of stream-table slot `slot` in the program stream at `path`: each begins
// with a packet whose header carries a PTS and takes the payload up to the next one.
inline std::vector<TimedUnit> streamUnits(const std::string& path, int slot) {
  struct Cutter : PassObserver, PayloadSink {
    explicit Cutter(int s) : slot(s) {}
    void packetStart(const PacketStart& p) override {
      if (p.slot == slot && p.hasPts) units.push_back({p.pts, {}});
    }
    PayloadSink* payloadRun(int s) override { return s == slot && !units.empty() ? this : nullptr; }
    void write(const std::uint8_t* data, std::size_t size) override {
      units.back().bytes.insert(units.back().bytes.end(), data, data + size);
    }
    int slot;
    std::vector<TimedUnit> units;
  };
  FileInput input(path, Access::Shared);
  SlotTable table;
  Cutter cutter(slot);
  runPass(input, table, {PassMode::Write}, cutter);
  return cutter.units;
}

// HD-DVD SUP frames as the converters read them: "SP", the PTS's low 32 bits
// little-endian, four zero bytes, the unit; the next frame 10 bytes plus the unit's own
// size field further on.
inline std::vector<TimedUnit> supFrames(const std::vector<std::uint8_t>& sup) {
  std::vector<TimedUnit> frames;
  std::size_t at = 0;
  while (at + 16 <= sup.size()) {
    EXPECT_EQ(sup[at], 'S');
    EXPECT_EQ(sup[at + 1], 'P');
    TimedUnit frame;
    for (int i = 3; i >= 0; --i) frame.pts = frame.pts << 8 | sup[at + 2 + i];
    std::size_t size = 0;
    for (int i = 0; i < 4; ++i) size = size << 8 | sup[at + 12 + i];
    if (at + 10 + size > sup.size()) break;
    frame.bytes.assign(sup.begin() + static_cast<std::ptrdiff_t>(at + 10),
                       sup.begin() + static_cast<std::ptrdiff_t>(at + 10 + size));
    frames.push_back(frame);
    at += 10 + size;
  }
  EXPECT_EQ(at, sup.size()) << "the frames end where the file ends";
  return frames;
}

struct IndexEntry {
  std::int64_t ms = 0;
  std::uint64_t filePosition = 0;
  bool operator==(const IndexEntry&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const IndexEntry& e) {
    return out << e.ms << " ms at " << e.filePosition;
  }
};

// The "timestamp: HH:MM:SS:mmm, filepos: HEX" lines of a VobSub index.
inline std::vector<IndexEntry> indexEntries(const std::string& idx) {
  std::vector<IndexEntry> entries;
  std::istringstream in(idx);
  for (std::string line; std::getline(in, line);) {
    int h = 0, m = 0, s = 0, ms = 0;
    unsigned long long position = 0;
    if (std::sscanf(line.c_str(), "timestamp: %d:%d:%d:%d, filepos: %llx", &h, &m, &s, &ms,
                    &position) == 5) {
      entries.push_back({((h * 60LL + m) * 60 + s) * 1000 + ms, position});
    }
  }
  return entries;
}

// Milliseconds from `origin` to `pts`, both 33-bit, to the nearest millisecond.
inline std::int64_t msAfter(std::uint64_t origin, std::uint64_t pts) {
  const std::uint64_t ticks = (pts - origin) & ((std::uint64_t{1} << 33) - 1);
  return static_cast<std::int64_t>((ticks + 45) / 90);
}

}  // namespace tessaly::testing
