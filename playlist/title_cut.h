// Finding the title that plays the chosen EVO file among the playlist's memo lines.
#pragma once

#include <string>
#include <vector>

namespace tessaly {

// Cuts `lines` down to the title around the first line that mentions `baseName`
// (case-sensitive). Returns false, leaving every line, when the base name is empty,
// occurs nowhere, or only on line 0.
bool cutToTitle(std::vector<std::string>& lines, const std::string& baseName);

}  // namespace tessaly
