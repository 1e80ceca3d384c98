#include "audio/mpeg2_timing.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numeric>

#include "audio/audio_time.h"
#include "audio/bit_reader.h"
#include "engine/pts.h"

namespace tessaly {
namespace {

constexpr std::uint8_t kPictureCode = 0x00;
constexpr std::uint8_t kSequenceHeaderCode = 0xB3;
constexpr std::uint8_t kExtensionCode = 0xB5;
constexpr std::uint8_t kSequenceEndCode = 0xB7;
constexpr std::uint8_t kGopCode = 0xB8;
constexpr std::uint8_t kSequenceExtension = 1;
constexpr std::uint8_t kPictureCodingExtension = 8;
constexpr int kFramePicture = 3;  // picture_structure; 1 and 2 are field pictures
// Header bytes after the start code that the check reads.
constexpr std::size_t kSequenceHeaderBytes = 4;  // sizes, aspect ratio, frame_rate_code
constexpr std::size_t kPictureHeaderBytes = 2;   // temporal_reference, picture type
constexpr std::size_t kExtensionBytes = 6;       // the longest part read, of a sequence extension
constexpr std::size_t kMaxGopPictures = 1024;    // a GOP header missing this long ends one
constexpr std::size_t kMaxDisagreements = 4096;
// Frames per second by frame_rate_code, as numerator and denominator.
constexpr std::array<std::array<std::int64_t, 2>, 9> kFrameRates{{{0, 1},
                                                                  {24000, 1001},
                                                                  {24, 1},
                                                                  {25, 1},
                                                                  {30000, 1001},
                                                                  {30, 1},
                                                                  {50, 1},
                                                                  {60000, 1001},
                                                                  {60, 1}}};

}  // namespace

struct Mpeg2Timing::Picture {
  std::uint64_t offset = 0;
  int temporalReference = 0;
  int structure = kFramePicture;
  int fields = 2;  // fields it displays (a progressive sequence's frames count two each)
  std::optional<std::uint64_t> pts;
};

struct Mpeg2Timing::Gop {
  std::vector<Picture> pictures;
};

Mpeg2Timing::Mpeg2Timing() : gop_(std::make_unique<Gop>()) {}
Mpeg2Timing::~Mpeg2Timing() = default;

void Mpeg2Timing::packet(std::uint64_t streamOffset, std::optional<std::uint64_t> pts) {
  stamps_.packet(std::max(streamOffset, position_), pts);
}

void Mpeg2Timing::bytes(const std::uint8_t* data, std::size_t size) {
  const std::uint64_t offset = position_;
  position_ += size;
  for (std::size_t at = 0; at < size;) at += scan(data + at, size - at, offset + at);
}

namespace {

// 16 bytes as one vector (a GCC and Clang extension, in plain instructions on a target
// without vectors), so that a pair of zero bytes is looked for 16 places at a time.
using Lanes = std::uint8_t __attribute__((vector_size(16)));
constexpr std::size_t kLanes = sizeof(Lanes);

Lanes lanesAt(const std::uint8_t* p) {
  Lanes lanes;
  std::memcpy(&lanes, p, kLanes);
  return lanes;
}

// 16 lanes as two 64-bit words, in memory order.
template <class Vector>
std::array<std::uint64_t, 2> wordsOf(const Vector& lanes) {
  static_assert(sizeof(Vector) == kLanes);
  std::array<std::uint64_t, 2> words;
  std::memcpy(words.data(), &lanes, kLanes);
  return words;
}

// All ones in the lanes of the 16 bytes at `p` that start a pair of zero bytes (a byte or-ed
// with the next is zero), nought in the others.
auto zeroPairLanes(const std::uint8_t* p) {
  return (lanesAt(p) | lanesAt(p + 1)) == 0;
}

// Whether a byte of the block of `kBlock` bytes at `p` starts a pair of zero bytes.
template <std::size_t kBlock>
bool zeroPairIn(const std::uint8_t* p) {
  auto pairs = zeroPairLanes(p);
  for (std::size_t k = kLanes; k < kBlock; k += kLanes) pairs |= zeroPairLanes(p + k);
  const auto words = wordsOf(pairs);
  return (words[0] | words[1]) != 0;
}

// The first of the 16 bytes at `p` that starts a pair of zero bytes, or kLanes.
std::size_t firstZeroPair(const std::uint8_t* p) {
  const auto pairs = zeroPairLanes(p);
  const auto words = wordsOf(pairs);
  const auto first = [](std::uint64_t word) {
    const int bits = std::endian::native == std::endian::little ? std::countr_zero(word)
                                                                : std::countl_zero(word);
    return static_cast<std::size_t>(bits) / 8;
  };
  if (words[0] != 0) return first(words[0]);
  return words[1] != 0 ? 8 + first(words[1]) : kLanes;
}

// The first pair of zero bytes at or after `from`, or `size`: blocks without one are passed
// over at once, since MPEG-2 slices hold zero and one bytes often but zero pairs seldom.
std::size_t zeroPairAt(const std::uint8_t* p, std::size_t from, std::size_t size) {
  constexpr std::size_t kBlock = 64;
  std::size_t i = from;
  while (i + kBlock < size && !zeroPairIn<kBlock>(p + i)) i += kBlock;
  for (; i + kLanes < size; i += kLanes) {
    const std::size_t lane = firstZeroPair(p + i);
    if (lane < kLanes) return i + lane;
  }
  for (; i + 1 < size; ++i) {
    if ((p[i] | p[i + 1]) == 0) return i;
  }
  return size;
}

}  // namespace

// Gathers a start code's header bytes, or finds the next start code (00 00 01 and its
// code byte); returns the bytes used.
std::size_t Mpeg2Timing::scan(const std::uint8_t* data, std::size_t size, std::uint64_t offset) {
  if (header_.size() < need_) {
    const std::size_t used = std::min(need_ - header_.size(), size);
    header_.insert(header_.end(), data, data + used);
    if (header_.size() == need_) header();
    return used;
  }
  if (codeDue_) {
    codeDue_ = false;
    startCode(data[0], codeAt_);
    return 1;
  }
  // A start code's zeros may end the bytes before this run.
  if (data[0] == 1 && zeros_ >= 2) return codeFound(offset - 2);
  if (size >= 2 && data[1] == 1 && data[0] == 0 && zeros_ >= 1) return codeFound(offset - 1) + 1;
  for (std::size_t from = 0;;) {
    const std::size_t at = zeroPairAt(data, from, size);
    if (at + 2 >= size) break;
    if (data[at + 2] == 1) return codeFound(offset + at) + at + 2;
    from = at + 1;
  }
  if (size >= 2) {
    zeros_ = data[size - 1] != 0 ? 0 : data[size - 2] != 0 ? 1 : 2;
  } else {
    zeros_ = data[0] != 0 ? 0 : std::min(zeros_ + 1, 2);
  }
  return size;
}

// 00 00 01 found, its first byte at `at`: the code byte comes next. Returns 1, the 01 byte.
std::size_t Mpeg2Timing::codeFound(std::uint64_t at) {
  codeDue_ = true;
  codeAt_ = at;
  zeros_ = 0;
  return 1;
}

void Mpeg2Timing::startCode(std::uint8_t code, std::uint64_t offset) {
  code_ = code;
  header_.clear();
  need_ = 0;
  switch (code) {
    case kPictureCode:
      endPicture();
      picture_ = std::make_unique<Picture>();
      picture_->offset = offset;
      picture_->fields = 2;
      picture_->pts = stamps_.take(offset);
      need_ = kPictureHeaderBytes;
      break;
    case kSequenceHeaderCode:
      need_ = kSequenceHeaderBytes;
      [[fallthrough]];
    case kSequenceEndCode:
      endPicture();
      break;
    case kGopCode:
      endPicture();
      endGop();
      break;
    case kExtensionCode:
      need_ = kExtensionBytes;
      break;
    default:
      break;  // slices and the rest: nothing of the timing
  }
}

void Mpeg2Timing::header() {
  if (code_ == kSequenceHeaderCode) sequenceHeader();
  if (code_ == kPictureCode && picture_) pictureHeader();
  if (code_ == kExtensionCode) extension();
  need_ = 0;
  header_.clear();
}

void Mpeg2Timing::sequenceHeader() {
  frameRateCode_ = header_[3] & 0x0F;
  const auto& rate = kFrameRates[frameRateCode_ < 9 ? frameRateCode_ : 0];
  fieldUnits_ = rate[0] == 0 ? 0 : kUnitsPerSecond * rate[1] / (2 * rate[0]);
}

void Mpeg2Timing::pictureHeader() {
  picture_->temporalReference = (header_[0] << 2) | (header_[1] >> 6);
}

void Mpeg2Timing::extension() {
  BitReader bits(header_);
  const std::uint32_t id = bits.read(4);
  if (id == kSequenceExtension) {
    bits.skip(8);
    progressiveSequence_ = bits.flag();
    bits.skip(2 + 2 + 2 + 12 + 1 + 8 + 1);
    const std::int64_t n = bits.read(2) + 1;
    const std::int64_t d = bits.read(5) + 1;
    const auto& rate = kFrameRates[frameRateCode_ < 9 ? frameRateCode_ : 0];
    if (rate[0] != 0) fieldUnits_ = kUnitsPerSecond * rate[1] * d / (2 * rate[0] * n);
  } else if (id == kPictureCodingExtension && picture_) {
    bits.skip(16 + 2);
    picture_->structure = static_cast<int>(bits.read(2));
    const bool topFirst = bits.flag();
    bits.skip(5);
    const bool repeat = bits.flag();
    if (picture_->structure != kFramePicture) {
      picture_->fields = 1;
    } else if (progressiveSequence_) {
      picture_->fields = repeat ? (topFirst ? 6 : 4) : 2;
    } else {
      picture_->fields = repeat ? 3 : 2;
    }
  }
}

// The picture is complete: a second field picture joins the first.
void Mpeg2Timing::endPicture() {
  if (!picture_) return;
  auto& pictures = gop_->pictures;
  const bool secondField = !pictures.empty() && picture_->structure != kFramePicture &&
                           pictures.back().structure != kFramePicture &&
                           pictures.back().fields == 1 &&
                           pictures.back().temporalReference == picture_->temporalReference;
  if (secondField) {
    pictures.back().fields += picture_->fields;
  } else {
    pictures.push_back(*picture_);
  }
  picture_.reset();
  if (pictures.size() >= kMaxGopPictures) endGop();
}

void Mpeg2Timing::endGop() {
  check(gop_->pictures);
  gop_->pictures.clear();
}

// A GOP's pictures in display order from where the GOP starts; each PTS against its
// picture's place, the first one met setting the start.
void Mpeg2Timing::check(const std::vector<Picture>& pictures) {
  timing_.pictures += pictures.size();
  if (fieldUnits_ == 0 || pictures.empty()) return;
  std::vector<std::size_t> order(pictures.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return pictures[a].temporalReference < pictures[b].temporalReference;
  });
  std::vector<std::int64_t> place(pictures.size());
  std::int64_t shown = 0;
  for (const std::size_t n : order) {
    place[n] = shown;
    shown += pictures[n].fields * fieldUnits_;
  }
  for (std::size_t n = 0; n < pictures.size(); ++n) {
    if (!pictures[n].pts) continue;
    const std::uint64_t pts = *pictures[n].pts;
    if (!timing_.anchorPts) {
      timing_.anchorPts = pts;
      lastPts_ = pts;
      gopStart_ = -place[n];
    }
    lastTicks_ += stampDistance(lastPts_, pts);
    lastPts_ = pts;
    const std::int64_t actual = ticksToUnits(lastTicks_);
    const std::int64_t jump = actual - (*gopStart_ + place[n]);
    ++timing_.checked;
    if (std::abs(jump) <= 2 * fieldUnits_) continue;
    if (timing_.disagreements.size() < kMaxDisagreements) {
      timing_.disagreements.push_back({pictures[n].offset, *gopStart_ + place[n], jump});
    }
    gopStart_ = actual - place[n];
  }
  if (gopStart_) *gopStart_ += shown;
}

std::optional<std::int64_t> Mpeg2Timing::endSegment() {
  endPicture();
  endGop();
  return gopStart_;
}

const VideoTiming& Mpeg2Timing::finish() {
  endSegment();
  return timing_;
}

}  // namespace tessaly
