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

}  // namespace tessaly
