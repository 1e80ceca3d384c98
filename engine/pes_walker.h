// The byte-driven walk over PES packets: a push state machine fed any pieces of the
// input, all of its state in PassState. Headers, skipped bodies and the bytes between
// packets walk the same however the input is cut. A payload does not: each of its runs
// (one per piece it spans) lets only its first byte into Window, so a start code made of
// a payload's last bytes and the bytes after it is found or missed depending on where a
// piece ends. Well-formed streams never put one there; the walk keeps that behaviour
// because it is the one the engine has always had.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/identify.h"
#include "engine/pass_port.h"
#include "engine/pass_state.h"
#include "engine/stream_slots.h"

namespace tessaly {

class PesWalker {
 public:
  // Fills `table` (which it does not reset) and reports to `observer`; when writing, each
  // payload run goes to the sink the observer names for its slot.
  PesWalker(SlotTable& table, PassObserver& observer, PassMode mode,
            Routing routing = Routing::ByNumber);

  // Walks `count` bytes at `data`; the payload runs handed to sinks point into `data`.
  // Invariant: a PES packet cut across two feeds (two read chunks of a pass), at any byte
  // of its header or payload, is walked as the same packet uncut: the same table entries,
  // the same observer calls and the same payload bytes to the same sinks in the same
  // order, a run cut at the chunk's end arriving as two runs.
  void feed(const std::uint8_t* data, std::size_t count);
  const PassState& state() const { return s_; }

 private:
  std::size_t payloadStep(const std::uint8_t* at, std::size_t available);
  std::size_t skipStep(const std::uint8_t* data, std::size_t i, std::size_t count);
  std::size_t passOver(const std::uint8_t* data, std::size_t i, std::size_t count);
  std::size_t keepLastBytes(const std::uint8_t* data, std::size_t from, std::size_t end);
  void startCode(std::uint8_t streamId);
  enum class Step {
    None,
    Fixed,
    Pts,
    PtsDts,
    ExtFlags,
    Pstd,
    Ext2,
    Remainder,
    SubHeader,
    Lpcm,
    Mlp
  };
  Step nextStep() const;
  bool headerStep(std::uint8_t byte);
  void runStep(Step step, std::uint8_t byte);
  void lengthStep();
  void fixedStep(std::uint8_t byte);
  void timeStampStep(std::uint32_t& left, std::uint8_t byte);
  void extFlagsStep(std::uint8_t byte);
  void pstdStep();
  void ext2Step(std::uint8_t byte);
  void remainderStep();
  void headerEnd();
  void endPacket();
  void packetStarted();

  PassObserver& observer_;
  StreamRegistry registry_;
  bool writing_;
  Routing routing_;
  PassState s_;
};

}  // namespace tessaly
