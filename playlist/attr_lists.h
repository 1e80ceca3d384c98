// The checks on each scanned tag: the playlist's display name and the media
// attribute lists VideoAttr, AudioAttr and SubAttr.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "playlist/xpl_run.h"

namespace tessaly {

// The media attribute lists VideoAttr, AudioAttr and SubAttr: entry n (1..8) at [n - 1]. A
// run sets only the entries its playlist names, so the others keep the last run's.
struct AttrLists {
  std::array<std::string, 8> video;
  std::array<std::string, 8> audio;
  std::array<std::string, 8> sub;
  bool operator==(const AttrLists&) const = default;
};

// Applies the four checks to one completed tag text; a bad index throws
// "'%s' is not a valid integer value".
void checkTag(AttrLists& lists, XplRun& run, const std::string& tag);

// The list entry of attribute index 1..8; any other index gives an empty text.
std::string attrEntry(const std::array<std::string, 8>& list, std::int32_t index);

}  // namespace tessaly
