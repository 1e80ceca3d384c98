// The names of the stream boxes (cbVideo0, cbAudio03, cbSub12): how the window, the
// report and the command line name a stream of the slot groups.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "engine/stream_slots.h"

namespace tessaly {

// The boxes of each group: a box for every video number the window shows, one for each
// audio and subpicture number with an output entry.
constexpr std::size_t kVideoBoxes = 8;
constexpr std::size_t kAudioBoxes = 16;
constexpr std::size_t kSubBoxes = 16;

constexpr std::size_t boxCount(StreamGroup group) {
  return group == StreamGroup::Video   ? kVideoBoxes
         : group == StreamGroup::Audio ? kAudioBoxes
                                       : kSubBoxes;
}

// The window name of a box: cbVideo0..cbVideo7, cbAudio00..cbAudio15, cbSub00..cbSub15.
std::string boxName(StreamGroup group, int number);

// The name of the box that shows `slot`; empty for a slot without a box and output entry.
std::string slotBoxName(int slot);

// A stream of a group by its number, as the EVO counts its streams.
struct GroupNumber {
  StreamGroup group = StreamGroup::Video;
  int number = 0;
};

// The box of a window name (one of the 40), or nullopt for any other text.
std::optional<GroupNumber> boxOfName(const std::string& name);

}  // namespace tessaly
