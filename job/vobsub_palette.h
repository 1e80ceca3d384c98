// The 16 colours of a VobSub index. DVD-style units name entries of a palette that the
// disc's programme chain would give; these streams come without one, so the index holds a
// palette that shows text readably, or the operator's.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tessaly {

using VobSubPalette = std::array<std::uint32_t, 16>;  // 0xRRGGBB each

// Odd entries white, even ones black: units name the fill with an odd entry and the
// outline and background with even ones in the usual layouts (fill 1 and outline 2, fill
// 15 and outline 0), so their text shows white in a black outline.
inline constexpr VobSubPalette kReadablePalette{
    0x000000, 0xffffff, 0x000000, 0xffffff, 0x000000, 0xffffff, 0x000000, 0xffffff,
    0x000000, 0xffffff, 0x000000, 0xffffff, 0x000000, 0xffffff, 0x000000, 0xffffff};

// "rrggbb,rrggbb,...": exactly 16 values of six hex digits, comma-separated (spaces
// around them allowed); none for anything else.
std::optional<VobSubPalette> parseVobSubPalette(const std::string& text);

// The index's palette line's values: "rrggbb, rrggbb, ...".
std::string paletteText(const VobSubPalette& palette);

}  // namespace tessaly
