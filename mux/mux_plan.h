// A demux job's outputs as one call of mkvmerge, from plain records: which outputs go
// into the Matroska file, in which order and with which language, name and delay, and
// which stay out, with the reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/session.h"

namespace tessaly {

// One output entry of the job.
struct MuxSource {
  StreamGroup group = StreamGroup::Video;
  std::int32_t codec = -1;              // the value its stream registered; -1: not known
  std::vector<MadeFile> files;          // what the output made, names as logged
  bool empty = false;                   // its file holds nothing: the stream was not met
  std::string name;                     // the track's name: the stream box's caption
  std::string language;                 // from the playlist; empty when not known
  std::optional<std::int64_t> delayMs;  // after video stream 0; none for that stream
};

struct MuxRequest {
  std::string output;    // the Matroska file
  std::string title;     // the playlist title's name; empty for none
  std::string chapters;  // the chapter XML file; empty for none
};

struct MuxPlan {
  std::vector<std::string> arguments;  // mkvmerge's, without the program's name
  std::vector<std::string> notes;      // one log line per output left out
  std::vector<std::string> consumed;   // the files that go into the Matroska file, as logged
  int tracks = 0;
};

// The call for `sources` in the order given (video, then audio by number, then
// subpictures, as the boxes): HD DVD subpictures, HD-DVD SUP files, headerless LPCM and
// empty outputs stay out, each with a note. Files are named by full paths in the call,
// so that no name is taken for an option ("-...") or an option file ("@...").
MuxPlan muxPlan(const MuxRequest& request, const std::vector<MuxSource>& sources);

}  // namespace tessaly
