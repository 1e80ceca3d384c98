// The 40 stream check boxes as the operator's selection.
#pragma once

#include <string>

#include "shell/session.h"
#include "shell/stream_table.h"

namespace tessaly {

// The boxes come in the stream table's slot groups.
using BoxGroup = StreamGroup;

// The window name of a box: cbVideo0..cbVideo7, cbAudio00..cbAudio15, cbSub00..cbSub15.
std::string boxName(BoxGroup group, int number);
// The box of a window name, or nullptr when the name is not one of the 40.
CheckBox* findBox(Window& window, const std::string& name);

// Disables all 40 boxes and gives them their reset captions; ticks stay.
void Resetcbs(Session& session);

// The boxes' shared click handler: "Demux" is enabled exactly while a box is ticked.
void cbVideoClick(Session& session);

// Changes a box's tick as a click would: a real change runs cbVideoClick at once.
void setTicked(Session& session, CheckBox& box, bool ticked);

}  // namespace tessaly
