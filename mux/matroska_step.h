// The Matroska step of "Demux", after its streams: the outputs that mkvmerge can take go
// into one Matroska file (with the playlist title's languages, names, delays and chapters),
// and, once mkvmerge succeeded, are removed unless the request keeps them.
#pragma once

#include <string>
#include <vector>

#include "session/session.h"

namespace tessaly {

// The Matroska file the job makes: the request's, else OutputBase + ".mkv" when the
// window's box "Make a Matroska file (needs mkvmerge)" is ticked; empty for none.
std::string matroskaOutput(const Session& session);

// The names the step creates (the Matroska file, the chapter file of the title that plays
// the EVO file, the option file), for the job's check before any file is made.
std::vector<std::string> matroskaNames(const Session& session);

// Writes `text` into the file `name` (created or truncated), logging "Writing NAME".
void writeExtraFile(Session& session, const std::string& name, const std::string& text);

// What the step needs of JSON, made outside the core by the front ends.
struct MatroskaJson {
  // The text of mkvmerge's option file (a JSON array of its arguments); nullptr: none is
  // written by this front end.
  std::string (*optionFile)(const std::vector<std::string>& arguments) = nullptr;
  // The type of each track of what `mkvmerge -J` printed ("video", "audio", "subtitles");
  // throws Error when it describes no Matroska file.
  std::vector<std::string> (*trackTypes)(const std::string& identified) = nullptr;
};

// The step. Nothing is made after a stopped demux; with an option file asked for, the
// call is written there instead of being run. After mkvmerge, the Matroska file must be
// there and hold, as `mkvmerge -J` describes it, the tracks handed in, of their types:
// otherwise the job fails naming the file, and every stream is kept. Streams are removed
// only after that check, and never after a stop.
void matroskaStep(Session& session, const MatroskaJson& json);

}  // namespace tessaly
