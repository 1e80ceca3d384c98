// A title as a file that holds only some of its clips sees it: FEATURE_2.EVO alone starts
// where its clip starts on the title's clock.
#pragma once

#include <string>
#include <vector>

#include "playlist/title_facts.h"

namespace tessaly {

// The title with only the chapters that start inside the span of the clips whose files
// have the base names `clipNames` (FEATURE_1 for .../FEATURE_1.MAP), shifted so that the
// span starts at 0. The title stays whole when none of its timed clips is among them.
TitleFacts titleOfClips(const TitleFacts& title, const std::vector<std::string>& clipNames);

}  // namespace tessaly
