// The 40 stream check boxes as the operator's selection.
#pragma once

#include <string>

#include "catalogue/box_names.h"
#include "engine/stream_slots.h"
#include "session/session.h"

namespace tessaly {

// The boxes come in the stream table's slot groups.
using BoxGroup = StreamGroup;

// The box of a window name, or nullptr when the name is not one of the 40.
CheckBox* findBox(Window& window, const std::string& name);

// Disables all 40 boxes and gives them their reset captions; ticks stay.
void Resetcbs(Session& session);

// The boxes' shared click handler: "Demux" is enabled exactly while a box is ticked.
void cbVideoClick(Session& session);

// The stream check box that shows slot 1, 2 or 17..48 (cbVideo0, cbVideo1, cbAudio00..15,
// cbSub00..15); throws std::out_of_range for any other slot.
const CheckBox& slotBox(const Window& window, int slot);
CheckBox& slotBox(Window& window, int slot);

// Changes a box's tick as a click would: a real change runs cbVideoClick at once.
void setTicked(Session& session, CheckBox& box, bool ticked);

}  // namespace tessaly
