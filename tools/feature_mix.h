// A feature multiplexed from elementary streams encoded beforehand (a few seconds each):
// 2048-byte packs in the order of their streams' time, a navigation pack about every half
// second, each stream repeated on its own cycle with time stamps that keep rising. A
// stream may start later than the others. The benchmark and the sample disc are written
// with it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/access_units.h"
#include "tools/ps_writer.h"

namespace tessaly::tools {

struct Elementary {
  Stream stream;
  std::vector<std::uint8_t> bytes;  // one repetition of the stream
  double seconds = 0;               // its playing time
  // Its access units, at their times (or evenly spread over the repetition): only a packet
  // in which one starts carries a time stamp, that unit's. No units: every packet does, the time of
  // its first byte. A segment ends before an entry (without entries: before a unit;
  // without units: at the end of a repetition).
  Framing framing = {};
  std::size_t payloadMultiple = 1;  // payloads are cut to whole multiples (LPCM sample frames)
  double start = 0;                 // seconds after the other streams' start at which it starts
};

class FeatureMix {
 public:
  explicit FeatureMix(std::vector<Elementary> streams);
  FeatureMix(const FeatureMix&) = delete;  // the cursors point into the streams
  FeatureMix& operator=(const FeatureMix&) = delete;

  // Called after each pack of a stream with the stream and the pack's time stamp (-1:
  // none), so that a caller can put packs of its own between them.
  using AfterPack = std::function<void(PsWriter& writer, const Stream& stream, std::int64_t pts)>;

  // Writes packs until the writer holds at least `bytes` bytes. A further call goes on
  // where this one stopped, into another writer: the feature's next segment.
  void write(PsWriter& writer, std::uint64_t bytes, const AfterPack& afterPack = {});
  // Writes every stream up to its first entry that plays at `seconds` or later, so that
  // the segment ends on whole units and the next one (a further call) starts on an entry
  // of every stream: the video on a sequence header, the audio on a frame.
  void writeUntil(PsWriter& writer, double seconds, const AfterPack& afterPack = {});
  // The playing time written so far, in seconds: where the stream furthest behind is.
  double seconds() const;

 private:
  struct Cursor {
    const Elementary* stream;
    std::size_t offset = 0;  // bytes of the current repetition already written
    std::uint64_t repetition = 0;
  };
  std::int64_t timeOf(const Cursor& c) const;
  std::int64_t stampOf(const Cursor& c, std::size_t size) const;
  std::size_t stopOffset(const Cursor& c, double seconds) const;
  void turn(PsWriter& writer, Cursor& c, std::size_t end, std::uint64_t packs,
            const AfterPack& afterPack);
  // Returns the pack's time stamp, -1 for none.
  std::int64_t writePack(PsWriter& writer, Cursor& c, std::size_t end);

  std::vector<Elementary> streams_;
  std::vector<Cursor> cursors_;
};

}  // namespace tessaly::tools
