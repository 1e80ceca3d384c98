#include "job/timed_subpictures.h"

#include "job/hd_sup_writer.h"
#include "job/job_outputs.h"
#include "job/output_names.h"
#include "job/pgs_writer.h"
#include "job/vobsub_writer.h"

namespace tessaly {
namespace {

constexpr std::size_t kFormatBytes = 2;  // the unit's first two bytes name its format
// HD units are drawn on HD DVD's 1920x1080 subpicture plane, whatever the video's coded
// size (players scale the plane to the picture): the PGS compositions keep that plane.
constexpr VideoFrame kHdPlane{1920, 1080};

std::unique_ptr<UnitWriter> hdWriter(OutputContext& context, int slot, const TimedNames& names) {
  if (names.form == SubpictureOutputs::Pgs) {
    auto writer = std::make_unique<PgsWriter>(names.hd, context.origin(), kHdPlane);
    context.created(slot, names.hd, FileForm::Pgs);
    return writer;
  }
  auto writer = std::make_unique<HdSupWriter>(names.hd);
  context.created(slot, names.hd, FileForm::HdSup);
  return writer;
}

}  // namespace

void TimedSubpictures::packetStart(const OutputPacket& packet) {
  if (!packet.pts) return;  // the packet continues the open unit
  if (inUnit_) endUnit();
  inUnit_ = true;
  pts_ = *packet.pts;
  head_ = {};
  length_ = 0;
  if (writer_) writer_->beginUnit(pts_);
}

void TimedSubpictures::write(const std::uint8_t* data, std::size_t size) {
  if (!inUnit_) {
    untimed_ += size;  // no time stamp yet to frame these bytes with
    return;
  }
  head_.take(data, size);
  length_ += size;
  if (writer_) {
    writer_->write(data, size);
    return;
  }
  pending_.insert(pending_.end(), data, data + size);
  if (head_.count >= kFormatBytes) startWriter();
}

// The first unit's head names the format: its files are created and the unit so far
// is written.
void TimedSubpictures::startWriter() {
  format_ = unitFormat(head_);
  writer_ = create_(format_);
  writer_->beginUnit(pts_);
  writer_->write(pending_.data(), pending_.size());
  pending_ = {};
}

void TimedSubpictures::endUnit() {
  inUnit_ = false;
  if (!writer_) startWriter();  // a first unit too short to name its format: zeros, HD
  writer_->endUnit();
  if (!sizeFieldAgrees(format_, head_, length_)) ++disagreeing_;
}

// The units the format could not take this pass, once its units are all ended.
std::uint64_t TimedSubpictures::leftOut() {
  return writer_ ? writer_->takeLeftOut() : 0;
}

std::vector<std::string> TimedSubpictures::passEnd() {
  if (inUnit_) endUnit();
  std::vector<std::string> lines;
  const std::string stream = "Warning: subpicture stream " + std::to_string(number_) + " has ";
  if (disagreeing_ > 0) {
    lines.push_back(stream + std::to_string(disagreeing_) +
                    " units whose size field disagrees with the stream.");
  }
  if (untimed_ > 0) {
    lines.push_back(stream + std::to_string(untimed_) +
                    " bytes before its first time stamp; its timed output leaves them out.");
  }
  if (const std::uint64_t left = leftOut(); left > 0) {
    lines.push_back(stream + std::to_string(left) +
                    " units that do not decode to a picture; its PGS output leaves them out.");
  }
  if (writer_ && writer_->full() && !fullSaid_) {
    fullSaid_ = true;
    lines.push_back(stream + "units too small for a timed output (it would take more than " +
                    std::to_string(VobSubWriter::kGrowth) +
                    " times the stream's bytes); it stops there, and --subpictures raw keeps "
                    "the whole stream.");
  }
  disagreeing_ = untimed_ = 0;
  return lines;
}

void TimedSubpictures::close() {
  if (!writer_) return;  // no unit named a format: no file was created
  if (inUnit_) endUnit();
  writer_->close();
}

TimedNames timedNames(const std::string& outputBase, const std::string& caption,
                      SubpictureOutputs form) {
  const char* hd = form == SubpictureOutputs::Pgs ? "pgs.sup" : "sup";
  return {form, outputName(outputBase, caption, hd), outputName(outputBase, caption, "idx"),
          outputName(outputBase, caption, "sub")};
}

std::unique_ptr<StreamOutput> timedSubpictureOutput(OutputContext& context, int slot,
                                                    TimedNames names) {
  auto create = [&context, slot, names](UnitFormat format) -> std::unique_ptr<UnitWriter> {
    if (format == UnitFormat::Hd) return hdWriter(context, slot, names);
    auto writer =
        std::make_unique<VobSubWriter>(names.idx, names.sub, context.origin(),
                                       context.language(slot), context.frame(), context.palette());
    context.created(slot, names.idx, FileForm::VobSubIndex);
    context.created(slot, names.sub, FileForm::VobSubStream);
    return writer;
  };
  return std::make_unique<TimedSubpictures>(slot - kSubSlot, std::move(create));
}

}  // namespace tessaly
