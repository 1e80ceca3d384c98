#include "audio/sync_walker.h"

#include <algorithm>
#include <utility>

namespace tessaly {
namespace {

// The longest header any coding asks for: a TrueHD access unit's header, major sync and
// directory of sixteen substreams.
constexpr std::size_t kMaxHeader = 160;
constexpr std::size_t kWindowBytes = 8;

}  // namespace

SyncWalker::SyncWalker(std::unique_ptr<SyncCoding> coding, FrameSink& sink)
    : coding_(std::move(coding)), sink_(sink) {
  head_.reserve(kMaxHeader);
}

void SyncWalker::packet(std::uint64_t streamOffset, std::optional<std::uint64_t> pts) {
  if (streamOffset > position_) {
    // Bytes are missing: what was being read cannot be trusted to go on.
    abandon();
    position_ = streamOffset;
  }
  stamps_.packet(std::max(streamOffset, position_), pts);
}

void SyncWalker::bytes(const std::uint8_t* data, std::size_t size) {
  const std::uint64_t offset = position_;
  position_ += size;
  walk(data, size, offset);
}

void SyncWalker::walk(const std::uint8_t* data, std::size_t size, std::uint64_t offset) {
  while (size > 0) {
    std::size_t used = 0;
    switch (state_) {
      case State::Search:
        used = searchStep(data, size, offset);
        break;
      case State::Header:
        used = headerStep(data, size);
        break;
      case State::Body:
        used = bodyStep(size);
        break;
    }
    data += used;
    size -= used;
    offset += used;
  }
}

// Feeds bytes to the sync search until a sync word ends; the header from the frame's
// start is then in head_.
std::size_t SyncWalker::searchStep(const std::uint8_t* data, std::size_t size,
                                   std::uint64_t offset) {
  for (std::size_t i = 0; i < size; ++i) {
    window_ = (window_ << 8) | data[i];
    windowBytes_ = std::min(windowBytes_ + 1, kWindowBytes);
    ++searched_;
    const std::size_t reach = coding_->syncEnd(window_);
    if (reach == 0 || reach > windowBytes_) continue;
    stats_.skippedBytes += searched_ - reach;
    searched_ = 0;
    head_.clear();
    for (std::size_t n = reach; n-- > 0;)
      head_.push_back(static_cast<std::uint8_t>(window_ >> (8 * n)));
    headAt_ = offset + i + 1 - reach;
    state_ = State::Header;
    need_ = std::max(coding_->headerBytes(), reach);
    return i + 1;
  }
  return size;
}

std::size_t SyncWalker::headerStep(const std::uint8_t* data, std::size_t size) {
  const std::size_t used = std::min(need_ - std::min(need_, head_.size()), size);
  head_.insert(head_.end(), data, data + used);
  while (head_.size() >= need_ && state_ == State::Header) {
    const Probe probe = coding_->probe(head_);
    if (probe.result == Probe::Result::NeedMore && probe.need > head_.size() &&
        probe.need <= kMaxHeader) {
      need_ = probe.need;
    } else if (probe.result == Probe::Result::Frame && probe.frame.size >= head_.size()) {
      headerFound(probe.frame);
    } else {
      headerFailed();
    }
  }
  return used;
}

std::size_t SyncWalker::bodyStep(std::size_t size) {
  const auto used = static_cast<std::size_t>(std::min<std::uint64_t>(bodyLeft_, size));
  bodyLeft_ -= used;
  if (bodyLeft_ == 0) frameComplete();
  return used;
}

void SyncWalker::headerFound(const SyncFrame& frame) {
  // A header where the last frame ends confirms that frame.
  if (tentative_) {
    accept(*std::exchange(tentative_, std::nullopt));
    locked_ = true;
  }
  current_ = {frame, headAt_};
  bodyLeft_ = frame.size - head_.size();
  head_.clear();
  state_ = State::Body;
  if (bodyLeft_ == 0) frameComplete();
}

// No frame starts at headAt_, so the frame ending there is not whole either (cut off, or
// its size misread): the search goes on from the byte after it, over the header bytes
// already taken.
void SyncWalker::headerFailed() {
  if (tentative_) {
    stats_.skippedBytes += std::exchange(tentative_, std::nullopt)->frame.size;
  }
  if (locked_) {
    ++stats_.resyncs;
    flushUnit();  // its further substreams cannot be told from a lost unit's
  }
  locked_ = false;
  const std::vector<std::uint8_t> taken = std::move(head_);
  const std::uint64_t from = headAt_ + 1;
  head_.clear();
  startSearch();
  ++stats_.skippedBytes;
  walk(taken.data() + 1, taken.size() - 1, from);
}

void SyncWalker::frameComplete() {
  tentative_ = current_;
  expectHeader(current_.offset + current_.frame.size);
}

void SyncWalker::startSearch() {
  state_ = State::Search;
  window_ = 0;
  windowBytes_ = 0;
  searched_ = 0;
}

void SyncWalker::expectHeader(std::uint64_t offset) {
  state_ = State::Header;
  head_.clear();
  headAt_ = offset;
  need_ = coding_->headerBytes();
}

void SyncWalker::accept(Located located) {
  SyncFrame& f = located.frame;
  switch (coding_->accept(f)) {
    case Join::Start:
      flushUnit();
      unit_ = AudioFrame{located.offset, f.size, f.samples, f.rate, stamps_.take(located.offset),
                         f.majorSync};
      break;
    case Join::Add:
      if (unit_) {
        unit_->size = static_cast<std::uint32_t>(located.offset + f.size - unit_->offset);
        break;
      }
      [[fallthrough]];  // its unit was lost with the sync
    case Join::Drop:
      stats_.skippedBytes += f.size;
      break;
  }
}

void SyncWalker::flushUnit() {
  if (!unit_) return;
  sink_.frame(*unit_);
  ++stats_.frames;
  unit_.reset();
}

void SyncWalker::finish() {
  abandon();
}

// The bytes in hand make no further frame: the last whole frame counts (nothing after it
// contradicts it), the rest is skipped, and the walk searches afresh.
void SyncWalker::abandon() {
  if (tentative_) accept(*std::exchange(tentative_, std::nullopt));
  switch (state_) {
    case State::Search:
      stats_.skippedBytes += searched_;
      break;
    case State::Header:
      stats_.skippedBytes += head_.size();
      break;
    case State::Body:
      stats_.skippedBytes += current_.frame.size - bodyLeft_;
      break;
  }
  head_.clear();
  locked_ = false;
  startSearch();
  flushUnit();
}

}  // namespace tessaly
