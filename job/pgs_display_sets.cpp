#include "job/pgs_display_sets.h"

#include <algorithm>

namespace tessaly {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Segment types.
constexpr std::uint8_t kPalette = 0x14;      // PDS
constexpr std::uint8_t kObject = 0x15;       // ODS
constexpr std::uint8_t kComposition = 0x16;  // PCS
constexpr std::uint8_t kWindow = 0x17;       // WDS
constexpr std::uint8_t kEnd = 0x80;          // END

constexpr std::size_t kSegmentHeader = 13;  // "PG", PTS, DTS, type, length
constexpr std::size_t kLongestSegment = 0xFFFF;
constexpr std::size_t kFirstObjectHeader = 11;  // id, version, flags, data length, width, height
constexpr std::size_t kNextObjectHeader = 4;    // id, version, flags

// Composition states and flags.
constexpr std::uint8_t kNormal = 0x00;
constexpr std::uint8_t kEpochStart = 0x80;
constexpr std::uint8_t kPaletteUpdate = 0x80;
constexpr std::uint8_t kForcedObject = 0x40;
constexpr std::uint8_t kFrameRate = 0x10;  // the byte real streams carry; decoders ignore it
constexpr std::uint8_t kFirstInSequence = 0x80;
constexpr std::uint8_t kLastInSequence = 0x40;

constexpr int kLongestRun = 0x3FFF;  // 14 bits
constexpr int kShortRun = 64;        // shorter runs take 6 bits

void put(Bytes& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Starts a segment; its length is set by finish().
std::size_t begin(Bytes& out, std::uint8_t type, std::uint32_t pts) {
  const std::size_t at = out.size();
  out.insert(out.end(), {'P', 'G'});
  put(out, pts, 4);
  put(out, 0, 4);  // DTS: zero, as in the streams players take
  out.push_back(type);
  put(out, 0, 2);
  return at;
}

void finish(Bytes& out, std::size_t at) {
  const std::size_t length = out.size() - at - kSegmentHeader;
  out[at + 11] = static_cast<std::uint8_t>(length >> 8);
  out[at + 12] = static_cast<std::uint8_t>(length);
}

void end(Bytes& out, std::uint32_t pts) {
  finish(out, begin(out, kEnd, pts));
}

// A run of `length` pixels: a single non-zero pixel is its index; otherwise 00, then a
// flags byte (80: a colour follows, 40: 14-bit length) with the length, then the colour.
void putRun(Bytes& out, std::uint8_t colour, int length) {
  for (; length > 0; length -= kLongestRun) {
    const int n = std::min(length, kLongestRun);
    if (colour != 0 && n <= 2) {
      out.insert(out.end(), static_cast<std::size_t>(n), colour);
      continue;
    }
    const std::uint8_t flags = (colour != 0 ? 0x80 : 0x00) | (n >= kShortRun ? 0x40 : 0x00);
    out.push_back(0x00);
    if (n >= kShortRun) {
      out.push_back(static_cast<std::uint8_t>(flags | n >> 8));
      out.push_back(static_cast<std::uint8_t>(n));
    } else {
      out.push_back(static_cast<std::uint8_t>(flags | n));
    }
    if (colour != 0) out.push_back(colour);
  }
}

void objects(Bytes& out, std::uint32_t pts, const IndexBitmap& bitmap) {
  const Bytes data = pgsObjectData(bitmap);
  std::size_t done = 0;
  do {
    const bool first = done == 0;
    const std::size_t header = first ? kFirstObjectHeader : kNextObjectHeader;
    const std::size_t part = std::min(data.size() - done, kLongestSegment - header);
    const bool last = done + part == data.size();
    const std::size_t at = begin(out, kObject, pts);
    put(out, 0, 2);    // object 0
    out.push_back(0);  // version
    out.push_back((first ? kFirstInSequence : 0) | (last ? kLastInSequence : 0));
    if (first) {
      put(out, static_cast<std::uint32_t>(data.size() + 4), 3);  // with width and height
      put(out, static_cast<std::uint32_t>(bitmap.width), 2);
      put(out, static_cast<std::uint32_t>(bitmap.height), 2);
    }
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(done),
               data.begin() + static_cast<std::ptrdiff_t>(done + part));
    finish(out, at);
    done += part;
  } while (done < data.size());
}

}  // namespace

Bytes pgsObjectData(const IndexBitmap& b) {
  Bytes out;
  for (int y = 0; y < b.height; ++y) {
    const auto row = b.pixels.begin() + static_cast<std::ptrdiff_t>(y) * b.width;
    for (int x = 0; x < b.width;) {
      int length = 1;
      while (x + length < b.width && row[x + length] == row[x]) ++length;
      putRun(out, row[x], length);
      x += length;
    }
    out.insert(out.end(), {0x00, 0x00});
  }
  return out;
}

void PgsDisplaySets::composition(Bytes& out, std::uint32_t pts, std::uint8_t state,
                                 bool paletteUpdate, bool withObject) {
  const std::size_t at = begin(out, kComposition, pts);
  put(out, static_cast<std::uint32_t>(frame_.width), 2);
  put(out, static_cast<std::uint32_t>(frame_.height), 2);
  out.push_back(kFrameRate);
  put(out, compositionNumber_++, 2);
  out.push_back(state);
  out.push_back(paletteUpdate ? kPaletteUpdate : 0);
  out.push_back(0);  // palette 0
  out.push_back(withObject ? 1 : 0);
  if (withObject) {
    put(out, 0, 2);    // object 0
    out.push_back(0);  // in window 0
    out.push_back(shown_.forced ? kForcedObject : 0);
    put(out, static_cast<std::uint32_t>(shown_.x), 2);
    put(out, static_cast<std::uint32_t>(shown_.y), 2);
  }
  finish(out, at);
}

void PgsDisplaySets::window(Bytes& out, std::uint32_t pts) const {
  const std::size_t at = begin(out, kWindow, pts);
  out.push_back(1);  // one window, 0
  out.push_back(0);
  for (int value : {shown_.x, shown_.y, shown_.width, shown_.height}) {
    put(out, static_cast<std::uint32_t>(value), 2);
  }
  finish(out, at);
}

void PgsDisplaySets::palette(Bytes& out, std::uint32_t pts, const std::vector<PgsColour>& colours) {
  const std::size_t at = begin(out, kPalette, pts);
  out.push_back(0);  // palette 0
  out.push_back(paletteVersion_++);
  for (const PgsColour& c : colours) {
    out.insert(out.end(), {c.index, c.colour.y, c.colour.cr, c.colour.cb, c.alpha});
  }
  finish(out, at);
}

Bytes PgsDisplaySets::show(std::uint32_t pts, const PgsPicture& picture,
                           const std::vector<PgsColour>& colours) {
  shown_ = {picture.x, picture.y, picture.bitmap.width, picture.bitmap.height, picture.forced};
  paletteVersion_ = 0;  // a new epoch
  Bytes out;
  composition(out, pts, kEpochStart, false, true);
  window(out, pts);
  palette(out, pts, colours);
  objects(out, pts, picture.bitmap);
  end(out, pts);
  return out;
}

Bytes PgsDisplaySets::recolour(std::uint32_t pts, const std::vector<PgsColour>& colours) {
  Bytes out;
  composition(out, pts, kNormal, true, true);
  palette(out, pts, colours);
  end(out, pts);
  return out;
}

Bytes PgsDisplaySets::clear(std::uint32_t pts) {
  Bytes out;
  composition(out, pts, kNormal, false, false);
  window(out, pts);
  end(out, pts);
  return out;
}

}  // namespace tessaly
