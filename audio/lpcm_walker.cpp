#include "audio/lpcm_walker.h"

#include <algorithm>

namespace tessaly {

LpcmWalker::LpcmWalker(const LpcmFormat& format, FrameSink& sink)
    : format_(format), block_(format.blockBytes()), sink_(sink) {}

std::uint64_t LpcmWalker::blockAfter(std::uint64_t offset) const {
  return (offset + block_ - 1) / block_ * block_;
}

void LpcmWalker::packet(std::uint64_t streamOffset, std::optional<std::uint64_t> pts) {
  // Missing bytes (an offset past those given) would put every later block out of step
  // with the stream's; blocks keep counting from the stream's first byte.
  const std::uint64_t at = std::max(streamOffset, position_);
  endPacket(at);
  if (at > position_) {
    if (pending_ && pending_->end() > position_) pending_.reset();
    position_ = at;
  }
  from_ = at;
  pts_ = pts;
}

void LpcmWalker::bytes(const std::uint8_t*, std::size_t size) {
  position_ += size;
  if (pending_ && pending_->end() <= position_) handOn();
}

void LpcmWalker::endPacket(std::uint64_t to) {
  const std::uint64_t begin = blockAfter(from_);
  const std::uint64_t end = blockAfter(to);
  if (end <= begin) return;  // no block starts in the packet: its PTS is lost
  if (pending_) handOn();
  const auto blocks = static_cast<std::int64_t>((end - begin) / block_);
  pending_ = AudioFrame{begin,
                        static_cast<std::uint32_t>(end - begin),
                        blocks * format_.blockPeriods(),
                        format_.sampleRate,
                        pts_,
                        true};
  if (pending_->end() <= position_) handOn();
}

void LpcmWalker::handOn() {
  sink_.frame(*pending_);
  ++stats_.frames;
  pending_.reset();
}

void LpcmWalker::finish() {
  // The block cut off by the end plays in no frame.
  const std::uint64_t whole = position_ / block_ * block_;
  if (pending_ && pending_->end() > whole) {
    pending_->size =
        static_cast<std::uint32_t>(whole > pending_->offset ? whole - pending_->offset : 0);
    pending_->samples = static_cast<std::int64_t>(pending_->size / block_) * format_.blockPeriods();
    if (pending_->size == 0) pending_.reset();
  }
  if (pending_) handOn();
  endPacket(whole);
  stats_.skippedBytes = position_ - whole;
  from_ = position_;
}

}  // namespace tessaly
