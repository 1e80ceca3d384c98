#include "job/pgs_writer.h"

#include <algorithm>
#include <utility>

namespace tessaly {

PgsWriter::PgsWriter(const std::string& path, const TimeOrigin& origin, VideoFrame frame)
    : file_(path), origin_(origin), frame_(frame), sets_(frame) {}

void PgsWriter::beginUnit(std::uint64_t pts) {
  pts_ = pts;
  unit_.clear();
}

void PgsWriter::write(const std::uint8_t* data, std::size_t size) {
  const std::size_t kept = std::min(size, kMostUnitBytes - unit_.size());
  unit_.insert(unit_.end(), data, data + kept);
}

void PgsWriter::endUnit() {
  HdDisplay display = hdDisplay(unit_, frame_);
  if (display.leftOut) ++leftOut_;
  if (display.events.empty()) return;
  const std::int64_t start = origin_.ticksTo(pts_);
  writePending(start + display.events.front().delay);
  for (PgsEvent& event : display.events)
    pending_.push_back({start + event.delay, std::move(event)});
}

void PgsWriter::writePending(std::optional<std::int64_t> until) {
  const std::vector<Timed> pending = std::exchange(pending_, {});
  for (const Timed& timed : pending) {
    if (until && timed.time >= *until) break;
    writeEvent(timed);
  }
}

void PgsWriter::writeEvent(const Timed& timed) {
  // Display sets follow each other in time; a time before the origin shows at it.
  written_ = std::max({written_, timed.time, std::int64_t{0}});
  const auto pts = static_cast<std::uint32_t>(written_);  // the format's 32 bits
  const PgsEvent& e = timed.event;
  std::vector<std::uint8_t> set;
  switch (e.kind) {
    case PgsEvent::Kind::Show:
      set = sets_.show(pts, e.picture, e.palette);
      break;
    case PgsEvent::Kind::Recolour:
      set = sets_.recolour(pts, e.palette);
      break;
    case PgsEvent::Kind::Clear:
      set = sets_.clear(pts);
      break;
  }
  file_.write(set.data(), set.size());
}

void PgsWriter::close() {
  writePending(std::nullopt);
  file_.close();
}

std::uint64_t PgsWriter::takeLeftOut() {
  return std::exchange(leftOut_, 0);
}

}  // namespace tessaly
