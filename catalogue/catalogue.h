// "Read EVO": scan the chosen EVO file and turn the stream table into ticked,
// captioned stream boxes.
#pragma once

#include <cstdint>
#include <string>

#include "shell/session.h"

namespace tessaly {

// The click handler of bCheck.
void bCheckClick(Session& session);

// Name texts of stream-table values, for the boxes' captions.
std::string VideoName(std::int32_t value);
std::string AudioName(std::int32_t value);
std::string SubName(std::int32_t value);

// The caption "Read EVO" gives the box of a slot (1, 2, 17..48) holding `value`: the
// name text followed by ".N" for video, ".NN" for audio and subpicture.
std::string StreamCaption(int slot, std::int32_t value);

// The stream check box that shows slot 1, 2 or 17..48 (cbVideo0, cbVideo1, cbAudio00..15,
// cbSub00..15); throws std::out_of_range for any other slot.
const CheckBox& slotBox(const Window& window, int slot);
CheckBox& slotBox(Window& window, int slot);

}  // namespace tessaly
