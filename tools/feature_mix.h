// A feature multiplexed from elementary streams encoded beforehand (a few seconds each,
// all of the same length): 2048-byte packs in the order of their streams' time, a
// navigation pack about every half second, each stream repeated with time stamps that
// keep rising. A stream may start later than the others. The benchmark and the sample
// disc are written with it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/ps_writer.h"

namespace tessaly::tools {

struct Elementary {
  Stream stream;
  std::vector<std::uint8_t> bytes;  // one repetition of the stream
  std::size_t unit = 1;             // payloads are cut to whole multiples (LPCM sample frames)
  // Where its pictures start, for video: only a packet in which one starts carries a time
  // stamp, that picture's. Empty: every packet does, the time of its first byte.
  std::vector<std::size_t> pictures = {};
  double start = 0;  // seconds after the other streams' start at which it starts
};

// Where the pictures of an MPEG-2 video elementary stream start (picture start codes).
std::vector<std::size_t> pictureStarts(const std::vector<std::uint8_t>& video);

class FeatureMix {
 public:
  // `seconds`: the playing time of one repetition of every stream.
  FeatureMix(std::vector<Elementary> streams, double seconds);
  FeatureMix(const FeatureMix&) = delete;  // the cursors point into the streams
  FeatureMix& operator=(const FeatureMix&) = delete;

  // Called after each pack of a stream with the stream and the pack's time stamp (-1:
  // none), so that a caller can put packs of its own between them.
  using AfterPack = std::function<void(PsWriter& writer, const Stream& stream, std::int64_t pts)>;

  // Writes packs until the writer holds at least `bytes` bytes. A further call goes on
  // where this one stopped, into another writer: the feature's next segment.
  void write(PsWriter& writer, std::uint64_t bytes, const AfterPack& afterPack = {});
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
  Cursor& nextStream();
  // Returns the pack's time stamp, -1 for none.
  std::int64_t writePack(PsWriter& writer, Cursor& c);

  std::vector<Elementary> streams_;
  double seconds_;
  std::vector<Cursor> cursors_;
};

}  // namespace tessaly::tools
