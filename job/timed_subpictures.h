// A subpicture output for other tools. The stream is cut into units at its packets' time
// stamps: a unit begins with the payload of a packet whose header carries a PTS and runs
// until the next such packet or the end of the pass. The stream's first unit names the
// format (HD units: HD-DVD SUP, or PGS when asked; DVD-style units: VobSub), whose files
// are created then.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "job/output_forms.h"
#include "job/stream_output.h"
#include "job/subpicture_unit.h"
#include "job/unit_writer.h"

namespace tessaly {

class TimedSubpictures final : public StreamOutput {
 public:
  // Creates the files of a format and returns their writer.
  using WriterFactory = std::function<std::unique_ptr<UnitWriter>(UnitFormat)>;

  // `number` is the subpicture stream's number, for the warnings.
  TimedSubpictures(int number, WriterFactory create)
      : number_(number), create_(std::move(create)) {}

  void packetStart(const OutputPacket& packet) override;
  void write(const std::uint8_t* data, std::size_t size) override;
  // Ends the open unit; a warning line for the units of the pass whose own size field
  // disagrees with their length in the stream, one for bytes before the first unit, and
  // one for units that the format could not take.
  std::vector<std::string> passEnd() override;
  // A unit that an error cut short is ended with what it has.
  void close() override;

 private:
  void startWriter();
  void endUnit();
  std::uint64_t leftOut();

  int number_;
  WriterFactory create_;
  std::unique_ptr<UnitWriter> writer_;
  UnitFormat format_ = UnitFormat::Hd;
  bool inUnit_ = false;
  std::uint64_t pts_ = 0;
  UnitHead head_;
  std::uint64_t length_ = 0;
  std::vector<std::uint8_t> pending_;  // the first unit's bytes until they name the format
  std::uint64_t disagreeing_ = 0;      // units of this pass whose size field disagrees
  std::uint64_t untimed_ = 0;          // bytes of this pass before its first unit
  bool fullSaid_ = false;              // the writer's bound was reached, and said
};

// The files a timed subpicture output may create: named as the raw output, with the
// formats' extensions.
struct TimedNames {
  SubpictureOutputs form = SubpictureOutputs::Timed;  // Timed or Pgs
  std::string hd;   // HD units: HD-DVD SUP (.sup), or PGS (.pgs.sup)
  std::string idx;  // VobSub index
  std::string sub;  // VobSub program stream
};

TimedNames timedNames(const std::string& outputBase, const std::string& caption,
                      SubpictureOutputs form);

class OutputContext;

// The timed output of the subpicture entry in `slot`; each file is logged as
// "Creating NAME" once created.
std::unique_ptr<StreamOutput> timedSubpictureOutput(OutputContext& context, int slot,
                                                    TimedNames names);

}  // namespace tessaly
