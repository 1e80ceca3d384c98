// The engine's port without the window: what a packet start tells, when payload runs
// are asked for, and that any cut of the input tells the same.
#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

#include "engine/pes_walker.h"
#include "engine_harness.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {
namespace {

using tools::PesFields;
using tools::Stream;

constexpr std::uint64_t kHighStamp = 0x1F0000000;  // past 32 bits: the 33rd bit counts

struct Collected : PayloadSink {
  void write(const std::uint8_t* data, std::size_t size) override {
    bytes.insert(bytes.end(), data, data + size);
  }
  Bytes bytes;
};

// Keeps every packet start and every slot's runs; refuses the runs of `refused`.
struct Recorder : PassObserver {
  void packetStart(const PacketStart& packet) override {
    starts.push_back(packet);
    events.push_back("start " + std::to_string(packet.slot));
  }
  PayloadSink* payloadRun(int slot) override {
    events.push_back("run " + std::to_string(slot));
    return slot == refused ? nullptr : &outputs[slot];
  }

  int refused = 0;
  std::vector<PacketStart> starts;
  std::vector<std::string> events;
  std::map<int, Collected> outputs;
};

auto fieldsOf(const PacketStart& p) {
  return std::tuple(p.kind, p.slot, p.streamId, p.subId, p.coding, p.hasPts, p.pts, p.hasDts, p.dts,
                    p.payload, p.lpcmFormat);
}

// A packet start as expected; a time stamp of -1 is absent.
PacketStart start(PacketKind kind, int slot, std::uint8_t id, std::uint8_t subId,
                  AudioCoding coding, std::int64_t pts, std::int64_t dts, std::int32_t payload,
                  std::array<std::uint8_t, 3> lpcmFormat = {}) {
  PacketStart p{.kind = kind, .slot = slot, .streamId = id, .subId = subId, .coding = coding};
  p.hasPts = pts >= 0;
  p.pts = static_cast<std::uint64_t>(std::max<std::int64_t>(pts, 0));
  p.hasDts = dts >= 0;
  p.dts = static_cast<std::uint64_t>(std::max<std::int64_t>(dts, 0));
  p.payload = payload;
  p.lpcmFormat = lpcmFormat;
  return p;
}

// Walks the bytes in pieces of `piece` bytes through a fresh walker.
Recorder walk(const Bytes& bytes, PassMode mode, std::size_t piece, int refused = 0) {
  SlotTable table;
  Recorder recorder;
  recorder.refused = refused;
  PesWalker walker(table, recorder, mode);
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    walker.feed(bytes.data() + at, std::min(piece, bytes.size() - at));
  }
  return recorder;
}

TEST(PassPortTest, PacketStartTellsKindSlotIdsTimeStampsAndLpcmFormat) {
  tools::MemorySink sink;
  tools::PsWriter w(sink, {.lpcmFormat = {0x12, 0x34, 0x56}});
  w.packet(Stream::mpegAudio(4), 10, {.time = 900});  // before any audio number: no slot
  w.setClock(kHighStamp);
  w.packet(Stream::mpeg2(1), 20, {.dts = true});  // PTS = clock + 3003, DTS = clock
  w.packet(Stream::vc1(0), 30, {.time = 0x123456789});
  w.packet(Stream::ddPlus(1), 40, {.pts = false});
  w.packet(Stream::lpcm(2), 50, {.time = 0});
  w.packet(Stream::subpicture(3), 60, {.time = 1});
  w.packet(Stream::mpegAudio(4), 70, {.time = 2});  // follows audio number 2
  w.packet(Stream{0xFD, 0x71}, 80, {.time = 3});    // an unknown extension id: Ignored

  using K = PacketKind;
  using C = AudioCoding;
  const std::vector<PacketStart> expected = {
      start(K::MpegAudio, 0, 0xC4, 0x00, C::DD, 900, -1, 10),
      start(K::Video, 2, 0xE1, 0x00, C::DD, kHighStamp + 3003, kHighStamp, 20),
      start(K::Video, 1, 0xFD, 0x55, C::DD, 0x123456789, -1, 30),
      start(K::Audio, 18, 0xBD, 0xC1, C::DDPlus, -1, -1, 40),
      start(K::Audio, 19, 0xBD, 0xA2, C::Lpcm, 0, -1, 50, {0x12, 0x34, 0x56}),
      start(K::Subpicture, 36, 0xBD, 0x23, C::Lpcm, 1, -1, 60),
      start(K::MpegAudio, 19, 0xC4, 0x00, C::Lpcm, 2, -1, 70),
      start(K::Ignored, 0, 0xFD, 0x71, C::Lpcm, 3, -1, 80),
  };
  for (std::size_t piece : {std::size_t{1}, std::size_t{5}, sink.bytes.size()}) {
    const Recorder scan = walk(sink.bytes, PassMode::Scan, piece);
    ASSERT_EQ(scan.starts.size(), expected.size()) << piece;
    for (std::size_t n = 0; n < expected.size(); ++n) {
      EXPECT_EQ(fieldsOf(scan.starts[n]), fieldsOf(expected[n]))
          << "packet " << n << ", pieces of " << piece;
    }
  }
}

TEST(PassPortTest, RunsFollowTheirPacketStartOnlyWhenWritingAndGoWhereTheObserverSays) {
  tools::MemorySink sink;
  tools::PsWriter w(sink);
  w.packet(Stream::dd(0), 3000);
  w.packet(Stream::ddPlus(1), 2500);
  w.packet(Stream::subpicture(0), 0);  // an empty payload: a start, no run
  w.packet(Stream::dd(0), 1200);

  const Recorder scan = walk(sink.bytes, PassMode::Scan, 1000);
  EXPECT_EQ(scan.events,
            (std::vector<std::string>{"start 17", "start 18", "start 33", "start 17"}));

  const Recorder write = walk(sink.bytes, PassMode::Write, 1000, 18);
  std::vector<std::string> starts;
  for (std::size_t n = 0; n < write.events.size(); ++n) {
    const std::string& event = write.events[n];
    if (event.starts_with("start")) {
      starts.push_back(event);
    } else {  // a run belongs to the packet started last
      ASSERT_FALSE(starts.empty());
      EXPECT_EQ(event.substr(4), starts.back().substr(6)) << n;
    }
  }
  EXPECT_EQ(starts, scan.events);
  EXPECT_GT(write.events.size(), 8u) << "payloads cut by the pieces come in several runs";
  EXPECT_EQ(write.outputs.at(17).bytes, w.expected(17).bytes);
  EXPECT_EQ(write.outputs.count(18), 0u);  // refused: nowhere
}

}  // namespace
}  // namespace tessaly::testing
