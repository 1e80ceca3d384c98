// `title --mkv`: what the Matroska step takes of a title's outputs and of the title itself,
// its tracks with their languages, descriptions and flags, and its chapters.
#pragma once

#include <vector>

#include "disc/title_demux.h"
#include "mux/mux_plan.h"
#include "playlist/title_facts.h"

namespace tessaly::cli {

// The title's name, its chapters (on the disc clock) and its title set's language, for the
// chapter file and the video's language.
TitleFacts chapterFacts(const DiscTitle& title);

// One source per track with outputs, in the step's order: the video, then audio and
// subtitles by track number, each with the parts that `made` holds of it.
std::vector<MuxSource> titleSources(const DiscTitle& title, const std::vector<TitleOutput>& made);

}  // namespace tessaly::cli
