// PGS for HD units: NAME.pgs.sup, each unit's display (job/hd_display.h) as presentation
// graphics display sets, timed after the job's time origin (video stream 0's first time
// stamp), as the VobSub index is. A unit that starts before the display of the previous
// one has ended replaces it, as a player replaces the shown unit: what the previous unit
// would still have shown from then on is left out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/time_origin.h"
#include "job/hd_display.h"
#include "job/unit_writer.h"
#include "platform/files.h"

namespace tessaly {

class PgsWriter final : public UnitWriter {
 public:
  // Real units are far smaller: a whole 1920x1080 bitmap without a single run takes 2.6 MB.
  static constexpr std::size_t kMostUnitBytes = 4 * 1024 * 1024;

  // Creates the file; throws "Cannot create file ...". Times count from `origin`; the
  // compositions are made for `frame`, the video's size.
  PgsWriter(const std::string& path, const TimeOrigin& origin, VideoFrame frame);

  void beginUnit(std::uint64_t pts) override;
  // Bytes of a unit past kMostUnitBytes are not kept: it is decoded as far as it came.
  void write(const std::uint8_t* data, std::size_t size) override;
  void endUnit() override;
  void close() override;
  std::uint64_t takeLeftOut() override;

 private:
  struct Timed {
    std::int64_t time;  // ticks after the origin
    PgsEvent event;
  };

  // Writes what is pending, up to the first event at or after `until`.
  void writePending(std::optional<std::int64_t> until);
  void writeEvent(const Timed& timed);

  OutputFile file_;
  const TimeOrigin& origin_;
  VideoFrame frame_;
  PgsDisplaySets sets_;
  std::vector<std::uint8_t> unit_;
  std::uint64_t pts_ = 0;
  std::vector<Timed> pending_;  // the last unit's events, until the next unit's start is known
  std::int64_t written_ = 0;    // the time of the last display set written
  std::uint64_t leftOut_ = 0;   // units since takeLeftOut()
};

}  // namespace tessaly
