#include "bench/feature_mix.h"

#include <array>

namespace tessaly::bench {
namespace {

using tools::PesFields;
using tools::PsWriter;
using tools::Stream;

enum class Layout { Video, Full, Partial };  // how the stream's packs are filled

struct Share {
  Stream stream;
  int kbitPerSecond;
  Layout layout;
};

// About 30 Mbit/s in all, the most an HD DVD program stream carries.
const std::array<Share, 5> kShares = {{
    {Stream::vc1(0), 25000, Layout::Video},
    {Stream::ddPlus(0), 1536, Layout::Full},
    {Stream::ddPlus(1), 640, Layout::Full},
    {Stream::mlp(2), 2500, Layout::Full},
    {Stream::subpicture(0), 300, Layout::Partial},
}};

constexpr int kPacksPerFrame = 64;  // a 25 Mbit/s frame at 24 frames/s: ~64 packs
constexpr int kPacksPerNav = 900;   // ~0.5 s of packs between navigation packs

// Weighted round robin: the share furthest behind its byte share writes the next pack.
class Scheduler {
 public:
  std::size_t next() {
    int total = 0;
    std::size_t pick = 0;
    for (std::size_t n = 0; n < kShares.size(); ++n) {
      credit_[n] += kShares[n].kbitPerSecond;
      total += kShares[n].kbitPerSecond;
      if (credit_[n] > credit_[pick]) pick = n;
    }
    credit_[pick] -= total;
    return pick;
  }

 private:
  std::array<int, kShares.size()> credit_{};
};

// A video pack: a frame's first pack carries PTS, DTS and P-STD, its last one is short.
void videoPack(PsWriter& writer, const Stream& stream, int frameIndex) {
  if (frameIndex == 0) {
    writer.pack(stream, PsWriter::kFill, {.dts = true, .pstd = true});
  } else if (frameIndex == kPacksPerFrame - 1) {
    writer.pack(stream, 700 + static_cast<std::size_t>(writer.size() % 1000), {.pts = false});
  } else {
    writer.pack(stream, PsWriter::kFill, {.pts = false});
  }
}

}  // namespace

void writeFeature(PsWriter& writer, std::uint64_t bytes) {
  Scheduler scheduler;
  int videoPacks = 0;
  for (std::uint64_t packs = 0; writer.size() < bytes; ++packs) {
    if (packs % kPacksPerNav == 0) {
      writer.navPack();
      continue;
    }
    const Share& share = kShares[scheduler.next()];
    if (share.layout == Layout::Video) {
      videoPack(writer, share.stream, videoPacks++ % kPacksPerFrame);
    } else if (share.layout == Layout::Partial) {
      writer.pack(share.stream, 200 + static_cast<std::size_t>(packs % 1500));
    } else {
      writer.pack(share.stream);
    }
  }
}

}  // namespace tessaly::bench
