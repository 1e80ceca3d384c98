// The forms a demux job's outputs take, and the record of each file it makes.
#pragma once

#include <string>

#include "engine/stream_slots.h"

namespace tessaly {

// What a subpicture output holds: the stream's bytes as they are (raw), or its units framed
// with their time stamps for other tools (HD-DVD SUP or VobSub, by the stream's first unit),
// or the same with HD units as presentation graphics (PGS) instead of HD-DVD SUP.
enum class SubpictureOutputs { Raw, Timed, Pgs };

// How outputs are named: by caption and extension, or with the extension their codec goes
// by among the tools of the field (.vc1, .eac3, ...).
enum class OutputNames { Described, Codec };

// What an LPCM output holds: the stream's samples as the disc carries them, or a WAV file.
enum class LpcmOutputs { Raw, Wav };

// The forms a Matroska file takes, for those the operator left open: PGS for HD units (and
// so VobSub for DVD-style ones) and WAV for LPCM.
inline constexpr SubpictureOutputs kFilmSubpictures = SubpictureOutputs::Pgs;
inline constexpr LpcmOutputs kFilmLpcm = LpcmOutputs::Wav;

// The forms of a job's outputs: the command line's choices, all three also turned on by the
// window's box "Outputs for other tools (codec names, WAV, timed subtitles)".
struct OutputForms {
  OutputNames names = OutputNames::Described;
  LpcmOutputs lpcm = LpcmOutputs::Raw;
  SubpictureOutputs subpictures = SubpictureOutputs::Raw;
};

// The extensions of the outputs named by caption, per slot group (at most five characters
// in the window's edits).
struct Extensions {
  std::string video = "mpv";
  std::string audio = "mpa";
  std::string sub = "sup";

  const std::string& of(StreamGroup group) const {
    return group == StreamGroup::Video ? video : group == StreamGroup::Audio ? audio : sub;
  }
};

// What a file made by a demux job holds.
enum class FileForm { Raw, Wav, HdSup, Pgs, VobSubIndex, VobSubStream };

// A file made by a demux job, with the output key (engine/output_keys.h: the stream-table
// slot, or a routed audio key) of the output it belongs to.
struct MadeFile {
  int slot = 0;
  std::string name;  // as "Creating " logged it
  FileForm form = FileForm::Raw;
};

}  // namespace tessaly
