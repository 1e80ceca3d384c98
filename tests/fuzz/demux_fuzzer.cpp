// The engine over arbitrary bytes, driven through its port alone: a scanning and a
// writing pass of runPass() over a file, and of the walker fed in pieces whose sizes the
// input chooses, every payload run kept in memory. The first byte of every payload run
// enters Window, so where the pieces cut a payload may change which later start codes
// are seen; what must hold for any cut is checked for every one: the table only holds
// values the identification rules store, both modes fill it alike and meet the same
// packets, one report per stream found, no slot is written more than its packets hold,
// both modes keep the same stream records and warn of the same shared outputs, and every
// timed stream found has a delay.
// The file passes must match the walker fed in the file's own 32 KB chunks.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "engine/pass.h"
#include "engine/pes_walker.h"
#include "engine/shared_outputs.h"
#include "engine/stream_facts.h"
#include "fuzz/fuzz_session.h"

namespace tessaly {
namespace {

using Bytes = std::vector<std::uint8_t>;
using fuzzing::require;

constexpr std::size_t kChunkSize = 32768;  // the pass walks its input in these

struct Collected : PayloadSink {
  void write(const std::uint8_t* data, std::size_t size) override {
    bytes.insert(bytes.end(), data, data + size);
  }
  Bytes bytes;
};

// Packets whose payload was reached in one slot, and the payload their lengths leave.
struct SlotPackets {
  std::uint64_t count = 0;
  std::int64_t payload = 0;
  bool operator==(const SlotPackets&) const = default;
};

// Everything a pass reports, and its table.
struct Outcome : PassObserver {
  Outcome() { table.fill(-1); }
  void streamFound(const StreamFound& stream) override {
    require(table[static_cast<std::size_t>(stream.slot - 1)] == -1, "a slot is found twice");
    table[static_cast<std::size_t>(stream.slot - 1)] = stream.value;
    found.push_back(stream.text + std::to_string(stream.number));
    recordFound(records, stream);
  }
  void packetStart(const PacketStart& packet) override {
    recordPacket(records, packet);
    shared.add(packet);
    SlotPackets& counted = packets[packet.slot];
    ++counted.count;
    counted.payload += packet.payload;
    lastSlot = packet.slot;
  }
  PayloadSink* payloadRun(int slot) override {
    require(slot == lastSlot && slot != 0, "a run outside the slot of its packet");
    return &outputs[slot];
  }
  void passLine(const std::string& line) override { lines.push_back(line); }

  std::array<std::int32_t, kSlots> table{};
  std::vector<std::string> found;
  std::map<int, SlotPackets> packets;
  std::map<int, Collected> outputs;
  std::vector<std::string> lines;
  StreamFactsTable records;
  SharedOutputs shared;
  std::uint64_t scrambled = 0;
  int lastSlot = 0;
};

PassMode modeOf(int mode) {
  return mode == 0 ? PassMode::Scan : PassMode::Write;
}

bool within(std::int32_t value, std::int32_t first, std::int32_t last) {
  return value >= first && value <= last;
}

// Whether identification can store `value` in `slot`: the stream's own id, whose
// number (low bits) is the slot's number.
bool storable(int slot, std::int32_t value) {
  if (value == -1) return true;
  if (slot < kAudioSlot) {
    const int number = slot - kVideoSlot;
    return number < 2 && (within(value, 0xE0, 0xE3) || within(value, 0x55, 0x56)) &&
           ((value - (value >= 0xE0 ? 0xE0 : 0x55)) & 1) == number;
  }
  if (slot >= kSubSlot) return value == 0x20 || value == 0x60;
  const int number = slot - kAudioSlot;
  const int mask = within(value, 0xA0, 0xA7) || within(value, 0xC0, 0xCF) ? 0x0F : 0x07;
  const bool known = within(value, 0x80, 0x8F) || within(value, 0xA0, 0xA7) ||
                     within(value, 0xB0, 0xB7) || within(value, 0xC0, 0xCF);
  return known && (value & mask) == number;
}

// The table as the outcome saw it reported must be the table the pass filled.
void checkTable(const Outcome& outcome, const SlotTable& table) {
  for (int slot = 1; slot <= kSlots; ++slot) {
    const std::int32_t value = outcome.table[static_cast<std::size_t>(slot - 1)];
    require(value == table[slot], "a stored value was not reported");
  }
}

// runPass() in `mode` over the bytes as a file.
Outcome viaFile(const Bytes& bytes, int mode) {
  const std::string path = fuzzing::scratch() + "FEATURE_1.EVO";
  fuzzing::writeBytes(path, bytes.data(), bytes.size());
  FileInput input(path, Access::Shared);
  SlotTable table;
  Outcome outcome;
  outcome.scrambled = runPass(input, table, {modeOf(mode), false}, outcome).scrambled;
  checkTable(outcome, table);
  return outcome;
}

// A fresh walker fed the bytes in `pieces` (cycled).
Outcome viaPieces(const Bytes& bytes, int mode, const std::vector<std::size_t>& pieces) {
  SlotTable table;
  Outcome outcome;
  PesWalker walker(table, outcome, modeOf(mode));
  std::size_t piece = 0;
  for (std::size_t at = 0; at < bytes.size(); piece = (piece + 1) % pieces.size()) {
    const std::size_t count = std::min(pieces[piece], bytes.size() - at);
    walker.feed(bytes.data() + at, count);
    at += count;
  }
  outcome.scrambled = walker.state().Scrambled;
  checkTable(outcome, table);
  return outcome;
}

std::map<int, Bytes> written(const Outcome& outcome) {
  std::map<int, Bytes> bytes;
  for (const auto& [slot, collected] : outcome.outputs) bytes[slot] = collected.bytes;
  return bytes;
}

// What a scanning and a writing pass over the same bytes, cut alike, must show.
void checkPasses(const Outcome& scan, const Outcome& write) {
  std::size_t found = 0;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const std::int32_t value = scan.table[static_cast<std::size_t>(slot - 1)];
    require(storable(slot, value), "the table holds a value no rule stores");
    found += value != -1;
  }
  require(scan.found.size() == found, "not one report per stream found");
  require(write.table == scan.table && write.found == scan.found, "the modes find otherwise");
  require(write.packets == scan.packets, "the modes meet other packets");
  require(write.scrambled == scan.scrambled, "the modes count scrambled packets otherwise");
  require(scan.outputs.empty(), "scanning writes");
  require(write.records == scan.records, "the modes record the streams otherwise");
  require(write.shared.warnings() == scan.shared.warnings(), "the modes warn otherwise");
  for (int slot = 1; slot <= kSlots; ++slot) {
    const StreamFacts& r = scan.records[slot];
    const auto met = scan.packets.find(slot);
    require(r.packets == 0 || (met != scan.packets.end() && r.packets <= met->second.count),
            "a stream records packets its slot did not meet");
    require(delayMs(scan.records, slot).has_value() == (r.value >= 0 && r.timed),
            "a timed stream found has no delay, or another has one");
  }
  for (const auto& [slot, collected] : write.outputs) {
    require(static_cast<std::int64_t>(collected.bytes.size()) <= write.packets.at(slot).payload,
            "a slot is written more than its packets hold");
  }
}

}  // namespace
}  // namespace tessaly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessaly;
  FuzzedDataProvider provider(data, size);
  std::vector<std::size_t> pieces(1 + provider.ConsumeIntegralInRange<std::size_t>(0, 3));
  for (auto& piece : pieces) piece = provider.ConsumeIntegralInRange<std::size_t>(1, 40000);
  const Bytes bytes = provider.ConsumeRemainingBytes<std::uint8_t>();

  const Outcome scan = viaFile(bytes, 0);
  const Outcome write = viaFile(bytes, 1);
  checkPasses(scan, write);
  const std::string warning = "Warning: " + std::to_string(scan.scrambled) + " packets";
  require(scan.scrambled == 0 ? scan.lines.empty() || !scan.lines.back().starts_with("Warning")
                              : scan.lines.back().starts_with(warning),
          "the scrambled-packet line misses or miscounts");
  const std::vector<std::size_t> chunks{kChunkSize};
  const Outcome chunked = viaPieces(bytes, 0, chunks);
  require(chunked.found == scan.found && chunked.packets == scan.packets &&
              chunked.scrambled == scan.scrambled && chunked.records == scan.records,
          "runPass() scans unlike its walker");
  require(written(viaPieces(bytes, 1, chunks)) == written(write),
          "runPass() writes unlike its walker");
  checkPasses(viaPieces(bytes, 0, pieces), viaPieces(bytes, 1, pieces));
  return 0;
}
