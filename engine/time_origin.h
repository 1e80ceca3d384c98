// The moment a job's timed outputs count from: the smallest PTS of video stream 0, or in
// a job without that stream, the smallest PTS of any stream. A PTS has 33 bits and wraps;
// each is taken as the value nearest to the first one noted, so a wrap inside the job
// counts on instead of jumping back.
#pragma once

#include <cstdint>
#include <optional>

namespace tessaly {

class TimeOrigin {
 public:
  // A PTS (90 kHz) of the stream in stream-table slot `slot`; slot 1 is video stream 0.
  void note(int slot, std::uint64_t pts);
  // Ticks from the origin to `pts`, negative before it; relative to `pts` itself while
  // nothing was noted.
  std::int64_t ticksTo(std::uint64_t pts) const;

 private:
  std::int64_t unwrapped(std::uint64_t pts) const;  // relative to first_

  std::optional<std::uint64_t> first_;
  std::optional<std::int64_t> smallestVideo_;  // of video stream 0, unwrapped
  std::optional<std::int64_t> smallestAny_;
};

}  // namespace tessaly
