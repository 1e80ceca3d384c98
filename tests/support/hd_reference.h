// The tests' own reader of HD subpicture units, written apart from the code under test:
// a well-formed unit's control sequences, each with what it shows from its time on, as
// RGBA through ffmpeg's colour conversion (limited-range BT.709, as its PGS decoder uses
// above 576 lines) and alpha 255 minus the contrast. Header-only.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tessaly::testing {

struct ShownPicture {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgba;  // R, G, B, A from the most significant byte
  bool forced = false;
};

struct ReferenceStep {
  std::int64_t ticks = 0;               // after the unit's PTS
  std::optional<ShownPicture> picture;  // shown from then on; none: nothing shown
};

inline std::uint32_t rgbaOf(int y, int cr, int cb, int alpha) {
  const auto fix = [](double x) { return static_cast<int>(x * 1024 + 0.5); };
  const int u = cb - 128;
  const int v = cr - 128;
  const int luma = (y - 16) * fix(255.0 / 219.0);
  const auto channel = [&](int add) {
    return static_cast<std::uint32_t>(std::clamp((luma + add) >> 10, 0, 255));
  };
  const std::uint32_t r = channel(512 + fix(1.5747 * 255.0 / 224.0) * v);
  const std::uint32_t g =
      channel(512 - fix(0.1873 * 255.0 / 224.0) * u - fix(0.4682 * 255.0 / 224.0) * v);
  const std::uint32_t b = channel(512 + fix(1.8556 * 255.0 / 224.0) * u);
  return r << 24 | g << 16 | b << 8 | static_cast<std::uint32_t>(alpha);
}

class HdReference {
 public:
  explicit HdReference(const std::vector<std::uint8_t>& unit) : u_(unit) {}

  // One step per sequence that starts, stops or changes the shown picture.
  std::vector<ReferenceStep> steps() {
    std::vector<ReferenceStep> steps;
    std::size_t at = number(6, 4);
    for (;;) {
      const std::int64_t ticks = number(at, 2) * 1024;
      const std::size_t next = number(at + 2, 4);
      bool changed = false;
      for (std::size_t p = at + 6; u_[p] != 0xFF;) changed |= command(p);
      if (changed) steps.push_back({ticks, shown_ ? std::optional(picture()) : std::nullopt});
      if (next == at) return steps;
      at = next;
    }
  }

 private:
  std::size_t number(std::size_t at, int bytes) const {
    std::size_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | u_[at + static_cast<std::size_t>(i)];
    return value;
  }

  // Runs the command at `p` and moves past it; true when what shows changes.
  bool command(std::size_t& p) {
    const std::uint8_t c = u_[p++];
    if (c <= 0x02) {
      shown_ = c != 0x02;
      forced_ = forced_ || c == 0x00;
      return true;
    }
    const std::size_t sizes[] = {768, 256, 6, 8};
    const std::size_t at = p;
    p += sizes[c - 0x83];
    if (c == 0x83) colours_ = at;
    if (c == 0x84) contrasts_ = at;
    if (c == 0x85) area_ = at;
    if (c == 0x86) fields_ = {number(at, 4), number(at + 4, 4)};
    return shown_;
  }

  ShownPicture picture() const {
    ShownPicture s;
    s.x = static_cast<int>(number(area_, 3) >> 12);
    s.width = static_cast<int>(number(area_, 3) & 0xFFF) - s.x + 1;
    s.y = static_cast<int>(number(area_ + 3, 3) >> 12);
    s.height = static_cast<int>(number(area_ + 3, 3) & 0xFFF) - s.y + 1;
    s.forced = forced_;
    for (int line = 0; line < s.height; ++line) {
      for (std::uint8_t index : row(line, s.width)) {
        const std::size_t c = colours_ + 3 * std::size_t{index};
        s.rgba.push_back(rgbaOf(u_[c], u_[c + 1], u_[c + 2], 255 - u_[contrasts_ + index]));
      }
    }
    return s;
  }

  // Line `line` of the bitmap: the fields hold the even and the odd lines.
  std::vector<std::uint8_t> row(int line, int width) const {
    std::size_t bit = 8 * (line % 2 ? fields_.second : fields_.first);
    const auto take = [&](int bits) {
      std::uint32_t v = 0;
      for (int i = 0; i < bits; ++i, ++bit) v = v << 1 | ((u_[bit / 8] >> (7 - bit % 8)) & 1);
      return v;
    };
    std::vector<std::uint8_t> pixels;
    for (int y = line % 2; y <= line; y += 2) {
      pixels.clear();
      while (static_cast<int>(pixels.size()) < width) {
        const bool run = take(1);
        const auto colour = static_cast<std::uint8_t>(take(take(1) ? 8 : 2));
        std::size_t n = 1;
        if (run && take(1)) {
          n = take(7);
          n = n == 0 ? static_cast<std::size_t>(width) - pixels.size() : n + 9;  // 0: the rest
        } else if (run) {
          n = take(3) + 2;
        }
        pixels.insert(pixels.end(), n, colour);
      }
      bit = (bit + 7) / 8 * 8;
    }
    return pixels;
  }

  const std::vector<std::uint8_t>& u_;
  bool shown_ = false;
  bool forced_ = false;
  std::size_t colours_ = 0;
  std::size_t contrasts_ = 0;
  std::size_t area_ = 0;
  std::pair<std::size_t, std::size_t> fields_;
};

}  // namespace tessaly::testing
