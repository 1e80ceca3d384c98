// The units of a subpicture stream, counted as its output takes them: the stream is cut
// into units at its packets' time stamps, as the timed outputs cut it, and each unit is
// read for a forced start (FSTA_DSP). Bytes before the first time stamp belong to no unit.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "catalogue/findings.h"
#include "job/stream_output.h"
#include "job/subpicture_unit.h"

namespace tessaly {

// True when one of the unit's display control sequences starts the display forced: HD
// units as job/hd_subpicture.h reads them, DVD-style ones by their 16-bit table (delay,
// next offset, commands up to FF).
bool startsForced(UnitFormat format, std::span<const std::uint8_t> unit);

// A subpicture output that also counts its units, telling the count so far after each
// unit; the bytes go on to `output` unchanged.
class UnitTally final : public StreamOutput {
 public:
  using Tell = std::function<void(const SubpictureUnits&)>;
  // A unit's bytes kept for the reading: far more than any real unit holds.
  static constexpr std::size_t kMostUnitBytes = 4 * 1024 * 1024;

  UnitTally(std::unique_ptr<StreamOutput> output, Tell tell)
      : output_(std::move(output)), tell_(std::move(tell)) {}

  void packetStart(const OutputPacket& packet) override;
  void write(const std::uint8_t* data, std::size_t size) override;
  std::vector<std::string> passEnd() override;
  void close() override;

 private:
  void endUnit();

  std::unique_ptr<StreamOutput> output_;
  Tell tell_;
  SubpictureUnits units_;
  bool inUnit_ = false;
  std::vector<std::uint8_t> unit_;
};

}  // namespace tessaly
