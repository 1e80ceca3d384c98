// A demux job's outputs as one call of mkvmerge, from plain records: which outputs go
// into the Matroska file, in which order and with which language, name and delay, and
// which stay out, with the reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/lpcm_format.h"
#include "audio/matroska_parts.h"
#include "catalogue/findings.h"
#include "engine/stream_slots.h"
#include "job/output_forms.h"

namespace tessaly {

// One output entry of the job.
struct MuxSource {
  StreamGroup group = StreamGroup::Video;
  std::int32_t codec = -1;               // the value its stream registered; -1: not known
  std::vector<MadeFile> files;           // what the output made, names as logged
  bool empty = false;                    // its file holds nothing: the stream was not met
  std::string name;                      // the stream box's caption
  std::string description;               // the playlist's: the track's name (trackName)
  std::string language;                  // from the playlist; empty when not known
  std::optional<int> channels;           // audio: the playlist's, where it gives them
  std::optional<std::int64_t> delayMs;   // after video stream 0; none for that stream
  std::optional<SubpictureUnits> units;  // a subpicture stream's, as its output read them
  std::string langcodeExtension;         // the playlist's, after the language: "01", "09", ...
  // What the disc says of the track beyond its extension: forced, hearing_impaired,
  // visual_impaired, commentary, ... (disc/track_language.h).
  std::vector<std::string> flags;
  // An audio stream timed by the demux: its parts, cut at its breaks, each with its --sync
  // (the first one's is the delay). More than one: the raw file goes in cut into them, and
  // so does LPCM's WAV file, whose format places the parts' bytes in it.
  std::vector<MkvPart> parts;
  std::optional<LpcmFormat> lpcm;
};

struct MuxRequest {
  std::string output;         // the Matroska file
  std::string title;          // the playlist title's name; empty for none
  std::string chapters;       // the chapter XML file; empty for none
  std::string videoLanguage;  // the disc's default language, for video without its own
  // Where the files of the audio parts go, a folder of the step's own (or the one that
  // stays beside an option file); empty: each track goes in whole, at the delay of its
  // first part.
  std::string partsFolder;
};

// A file of an audio track's part: `header`, then the bytes [begin, end) of the output
// `from` (a WAV part has a WAV header of its own).
struct PartFile {
  std::string from;
  std::uint64_t begin = 0;
  std::uint64_t end = 0;
  std::string path;  // in the request's partsFolder
  std::vector<std::uint8_t> header;
};

struct MuxPlan {
  std::vector<std::string> arguments;  // mkvmerge's, without the program's name
  std::vector<std::string> notes;      // one log line per output left out
  std::vector<std::string> consumed;   // the files that go into the Matroska file, as logged
  std::vector<StreamGroup> tracks;     // the kind of each track handed in, in order
  // "5 of 6 streams are in film.mkv; 1 kept beside it", the step's last line once made.
  std::string count;
  // The title when it cannot travel on mkvmerge's command line (see muxPlan); empty else.
  std::string titleAfter;
  std::vector<PartFile> parts;  // to be written before mkvmerge runs
};

// True when mkvmerge can take `value` as an argument of its own: mkvmerge looks for its
// global options (--help, -V, --redirect-output, -J, --list-types, ...) anywhere on its
// command line and in its option files, each by its whole text, and reads an argument
// that begins with "@" as an option file. All of them begin with "-" or "@".
bool safeArgument(const std::string& value);

// The call for `sources` in the order given (video, then audio by number, then
// subpictures, as the boxes): raw subpictures, HD-DVD SUP files, headerless LPCM and
// empty outputs stay out, each with a note. Subpictures go in as PGS or VobSub, timed
// from video stream 0 already, with the forced flag when the playlist says forced
// subtitles or every unit starts forced; the hearing impaired, visual impaired and
// commentary flags follow the source's flags. A raw audio output of more than one part
// goes in as its parts' files, appended with "+", each with its own --sync. Every track has its
// default flag: on for the first video, the first normal audio (no commentary, not for the visually
// impaired) and forced subtitles, off for the others. Nothing in the call can be read as an option
// or an option file: files go by full paths, track values inside "0:VALUE", and a title that is no
// safeArgument() is left for titleAfter.
MuxPlan muxPlan(const MuxRequest& request, const std::vector<MuxSource>& sources);

}  // namespace tessaly
