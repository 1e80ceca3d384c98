// PsWriter builds MPEG-2 program streams with HD DVD stream ids, for tests, the
// benchmark and the sample disc, and tells what a demux must produce from them.
//
//   MemorySink sink;                       // or FileSink sink(path) for large files
//   PsWriter w(sink, {.seed = 7});
//   w.navPack();                           // pack + system header + PCI/DSI (0xBF)
//   w.pack(Stream::vc1(0));                // one 2048-byte pack, payload filling it
//   w.pack(Stream::ddPlus(0), 500);        // shorter payload; a padding packet fills up
//   w.packet(Stream::mlp(1), 3000);        // free layout: a bare PES packet, any size
//   w.garbage(7);                          // bytes that hold no start code
//   w.expected(18).bytes                   // what slot 18's output must hold
//
// Payloads are seeded pseudo-random bytes. Expected output follows the format's
// routing (video n -> slot 1 + n, audio n -> 17 + n, subpicture n -> 33 + n, MPEG audio
// -> the last audio number) for the sub-stream ids of the HD DVD tables; packets with
// other private-stream-1 ids are written but not predicted.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <span>
#include <vector>

#include "tools/byte_sink.h"
#include "tools/ps_stream.h"
#include "tools/stream_digest.h"

namespace tessaly::tools {

// Optional fields of a PES header.
struct PesFields {
  bool pts = true;
  bool dts = false;             // with pts: a PTS and DTS pair
  bool pstd = false;            // P-STD buffer field; video stream ids only
  bool ext2 = true;             // 0xFD only: extension-2 field with the extension id
  std::uint8_t stuffing = 0;    // 0xFF bytes ending the header data
  std::uint8_t scrambling = 0;  // PES scrambling control, 0..3 (0: not scrambled)
  std::int64_t time = -1;       // PTS and DTS in 90 kHz ticks; -1: from the writer's clock
};

struct WriterOptions {
  std::uint64_t seed = 1;
  bool keepPayload = true;           // keep each slot's bytes, not only its digest
  bool startCodesInPayload = false;  // plant 00 00 01 E0 in payloads and skipped bodies
  int videoBound = 1;                // system header bounds
  int audioBound = 1;
  std::array<std::uint8_t, 3> lpcmFormat{0x00, 0x21, 0x81};  // 16 bits, 44.1 kHz, 2 channels
};

// What a demux with every output open must write for one stream-table slot.
struct Expected {
  std::int32_t value = -1;          // what the slot's first stream registers
  StreamDigest digest;              // everything routed to the slot
  std::vector<std::uint8_t> bytes;  // the same bytes, when keepPayload
};

class PsWriter {
 public:
  static constexpr std::size_t kPackSize = 2048;
  static constexpr std::size_t kFill = std::numeric_limits<std::size_t>::max();

  explicit PsWriter(ByteSink& sink, WriterOptions options = {});

  // A navigation pack: pack header, system header, PCI and DSI packets (0xBF).
  void navPack();
  // A 2048-byte pack with one PES packet; a padding packet or header stuffing fills
  // what a short payload leaves. Throws std::invalid_argument when it does not fit.
  void pack(const Stream& stream, std::size_t payload = kFill, const PesFields& fields = {});
  // A pack as above whose payload is the first bytes of `payload`, as many as fit;
  // returns how many it took.
  std::size_t pack(const Stream& stream, std::span<const std::uint8_t> payload,
                   const PesFields& fields = {});
  // `payload` in as many packs as it needs, the time stamp `pts` on the first packet only,
  // as a subpicture unit is carried.
  void packs(const Stream& stream, std::span<const std::uint8_t> payload, std::uint64_t pts);
  // The largest payload pack() fits in one pack.
  static std::size_t packCapacity(const Stream& stream, const PesFields& fields = {});

  // Free layout pieces: a 14-byte pack header, a system header, a bare PES packet
  // (payload up to the 16-bit length), a padding packet (0xBE) with `body` bytes.
  void packHeader();
  void systemHeader();
  void packet(const Stream& stream, std::size_t payload, const PesFields& fields = {});
  void padding(std::size_t body);
  // `count` pseudo-random bytes that hold no start code; raw bytes as given.
  void garbage(std::size_t count);
  void raw(const std::vector<std::uint8_t>& bytes);

  // Sets the clock that the next pack header's SCR and the default time stamps follow.
  void setClock(std::uint64_t ticks) { clock_ = ticks; }
  std::uint64_t clock() const { return clock_; }
  // The PTS of the last packet written with one.
  std::uint64_t lastPts() const { return lastPts_; }
  // Bytes written so far.
  std::uint64_t size() const { return size_; }
  // Expected output per slot, for every slot that received payload or a value.
  const std::map<int, Expected>& expected() const { return expected_; }
  // One slot's expected output (empty when nothing goes there).
  const Expected& expected(int slot) const;

 private:
  void subHeader(const Stream& stream, std::vector<std::uint8_t>& out) const;
  void fillPayload(std::size_t size);
  void packPayload(const Stream& stream, const PesFields& fields);
  void emitPacket(const Stream& stream, const PesFields& fields);
  void skippedPacket(std::uint8_t id, std::vector<std::uint8_t> body);
  void record(const Stream& stream, bool hasExt2);
  void emit(const std::vector<std::uint8_t>& bytes);
  std::uint64_t next();

  ByteSink& sink_;
  WriterOptions options_;
  std::uint64_t random_;
  std::uint64_t clock_ = 0;  // SCR and PTS base, in 90 kHz ticks
  std::uint64_t lastPts_ = 0;
  std::uint64_t size_ = 0;
  std::vector<std::uint8_t> payload_;
  SlotModel model_;
  std::map<int, Expected> expected_;
};

}  // namespace tessaly::tools
