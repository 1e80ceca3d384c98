// An HD subpicture unit's display as presentation graphics, over arbitrary bytes taken as
// one unit in a frame the input chooses. What must hold for any unit: its events follow
// each other in time, a recolour or a clear only follows a shown picture, every picture
// lies inside the frame, its palette has exactly the indexes its bitmap uses, each display
// set is whole segments, and each object's run-length data decodes back to its bitmap.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <vector>

#include "fuzz/fuzz_session.h"
#include "job/hd_display.h"

namespace tessaly {
namespace {

using Bytes = std::vector<std::uint8_t>;
using fuzzing::require;

// The segments of a display set, "PG" and 13 header bytes each, cover it exactly.
void requireWholeSegments(const Bytes& set) {
  std::size_t at = 0;
  while (at + 13 <= set.size()) {
    require(set[at] == 'P' && set[at + 1] == 'G', "a segment starts with PG");
    at += 13 + (std::size_t{set[at + 11]} << 8 | set[at + 12]);
  }
  require(at == set.size(), "the segments cover the display set");
}

// PGS run-length data decoded the plain way.
Bytes decodedObject(const Bytes& data, std::size_t pixels) {
  Bytes out;
  for (std::size_t at = 0; at < data.size() && out.size() <= pixels;) {
    const std::uint8_t first = data[at++];
    if (first != 0) {
      out.push_back(first);
      continue;
    }
    const std::uint8_t flags = data.at(at++);
    std::size_t length = flags & 0x3F;
    if (flags & 0x40) length = length << 8 | data.at(at++);
    const std::uint8_t colour = flags & 0x80 ? data.at(at++) : 0;
    out.insert(out.end(), length, colour);  // a zero length ends a line
  }
  return out;
}

void requirePicture(const PgsEvent& e, VideoFrame frame) {
  const PgsPicture& p = e.picture;
  const IndexBitmap& b = p.bitmap;
  require(b.width > 0 && b.height > 0 && p.x >= 0 && p.y >= 0, "a picture has pixels");
  require(p.x + b.width <= frame.width && p.y + b.height <= frame.height,
          "a picture lies inside the frame");
  require(b.pixels.size() == static_cast<std::size_t>(b.width) * b.height, "a bitmap is whole");
  std::vector<bool> used(256);
  for (std::uint8_t index : b.pixels) used[index] = true;
  require(static_cast<std::size_t>(std::count(used.begin(), used.end(), true)) == e.palette.size(),
          "the palette has the indexes the bitmap uses");
  for (const PgsColour& c : e.palette) require(used[c.index], "a palette entry is used");
  require(decodedObject(pgsObjectData(b), b.pixels.size()) == b.pixels,
          "the object data decodes to the bitmap");
}

}  // namespace
}  // namespace tessaly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessaly;
  FuzzedDataProvider in(data, size);
  const VideoFrame frame{in.ConsumeIntegralInRange(1, 1920), in.ConsumeIntegralInRange(1, 1080)};
  const Bytes unit = in.ConsumeRemainingBytes<std::uint8_t>();
  const HdDisplay display = hdDisplay(unit, frame);
  PgsDisplaySets sets(frame);
  std::int64_t time = 0;
  bool shown = false;
  for (const PgsEvent& e : display.events) {
    require(e.delay >= time, "events follow each other in time");
    time = e.delay;
    const auto pts = static_cast<std::uint32_t>(e.delay);
    if (e.kind == PgsEvent::Kind::Show) {
      requirePicture(e, frame);
      requireWholeSegments(sets.show(pts, e.picture, e.palette));
    } else {
      require(shown, "a recolour or a clear follows a shown picture");
      requireWholeSegments(e.kind == PgsEvent::Kind::Clear ? sets.clear(pts)
                                                           : sets.recolour(pts, e.palette));
    }
    shown = e.kind != PgsEvent::Kind::Clear;
  }
  require(!display.leftOut || display.events.empty(), "a unit left out shows nothing");
  return 0;
}
