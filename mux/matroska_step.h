// The Matroska step of "Demux", after its streams: the outputs that mkvmerge can take go
// into one Matroska file (with the playlist title's languages, names, delays and chapters),
// and, once mkvmerge succeeded, are removed unless the request keeps them.
#pragma once

#include <string>
#include <vector>

#include "shell/session.h"

namespace tessaly {

// The Matroska file the job makes: the request's, else OutputBase + ".mkv" when the
// window's box "Make a Matroska file (needs mkvmerge)" is ticked; empty for none.
std::string matroskaOutput(const Session& session);

// The names the step creates (the Matroska file, the chapter file of the title that plays
// the EVO file, the option file), for the job's check before any file is made.
std::vector<std::string> matroskaNames(const Session& session);

// Writes `text` into the file `name` (created or truncated), logging "Writing NAME".
void writeExtraFile(Session& session, const std::string& name, const std::string& text);

// The text of mkvmerge's option file (a JSON array of its arguments), made outside the core.
using OptionFileText = std::string (*)(const std::vector<std::string>& arguments);

// The step. Nothing is made after a stopped demux; with an option file asked for, the
// call is written there (by `optionFileText`) instead of being run.
void matroskaStep(Session& session, OptionFileText optionFileText);

}  // namespace tessaly
