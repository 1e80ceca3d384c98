// What a sync-framed coding (AC-3 and E-AC-3, DTS, TrueHD/MLP) tells the walk: where its
// sync words are, what a header at a frame start says, and how its sync frames make up
// access units.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tessaly {

// One sync frame (a substream of its access unit, or the whole unit) as its header gives it.
struct SyncFrame {
  std::uint32_t size = 0;    // bytes
  std::int64_t samples = 0;  // sample periods; 0 when its header does not say
  std::int32_t rate = 0;     // Hz; 0 when its header does not say
  bool majorSync = true;     // a decoder can start at it
  std::uint8_t kind = 0;     // the coding's own: which sort of substream it is
  std::uint8_t index = 0;    // the coding's own: which substream of its sort
};

// The header at a candidate frame start.
struct Probe {
  enum class Result { NeedMore, NotAFrame, Frame };
  Result result = Result::NotAFrame;
  std::size_t need = 0;  // NeedMore: the header bytes wanted in all
  SyncFrame frame;       // Frame

  static Probe more(std::size_t bytes) { return {Result::NeedMore, bytes, {}}; }
  static Probe none() { return {}; }
  static Probe found(const SyncFrame& frame) { return {Result::Frame, 0, frame}; }
};

// How an accepted sync frame joins the access units.
enum class Join {
  Start,  // it begins an access unit
  Add,    // it belongs to the access unit begun last
  Drop,   // it belongs to none (a substream whose unit was lost): its bytes are skipped
};

class SyncCoding {
 public:
  virtual ~SyncCoding() = default;
  // When a sync word ends at the last byte of `window` (the last eight bytes seen, the
  // latest in the low byte): how many bytes from the frame's start it ends; else 0.
  virtual std::size_t syncEnd(std::uint64_t window) const = 0;
  // Header bytes to look at first.
  virtual std::size_t headerBytes() const = 0;
  // What the bytes at a candidate frame start say (as many as asked for, or more). A frame
  // is never shorter than the bytes its header needed.
  virtual Probe probe(std::span<const std::uint8_t> head) = 0;
  // A frame the walk accepts, in stream order: how it joins the access units. It may fill
  // in what its header left unsaid (the samples of a unit from the stream's last such).
  virtual Join accept(SyncFrame& frame) = 0;
};

}  // namespace tessaly
