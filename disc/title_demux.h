// "Demux" of a whole title: every clip's EVO in title order, each track into one output
// named after the title and the track, fed from the stream that each clip maps it to (its
// stream number and, when two audio tracks of a clip share the number, its coding).
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "audio/audio_clock.h"
#include "audio/lpcm_format.h"
#include "disc/disc.h"
#include "job/break_lines.h"
#include "job/output_forms.h"
#include "platform/job_observer.h"

namespace tessaly {

struct TitleDemuxRequest {
  std::string videoFolder;  // the disc's HVDVD_TS, where the clips' EVOs are
  DiscTitle title;
  std::string outputFolder;
  const DiscFiles* files = &folderFiles();  // the disc's: a folder on disk, or an image
  // The forms a Matroska file takes: subpictures as PGS or VobSub, LPCM as WAV; the audio
  // timed, each clip's parts placed on the title's time line.
  bool film = false;
  // The files that later steps make (a Matroska file, its chapters), checked with the
  // outputs before any is made.
  std::vector<std::string> alsoCreates;
  // When the job fails, the title's outputs that it could not finish are removed, each
  // said in the log (removeUnfinishedFile); otherwise they keep what was written.
  bool removeUnfinished = false;
};

// A file of the title's outputs, and the track it holds.
struct TitleOutput {
  std::string name;  // as "Creating " logged it
  FileForm form = FileForm::Raw;
  StreamGroup group = StreamGroup::Video;
  int track = 0;                        // the DiscTrack's number; 0 for the video
  std::int32_t codec = -1;              // the value its stream registered in its first clip
  std::optional<std::int64_t> delayMs;  // after the title's start; none for the video
  // A film's audio, timed in every clip: its parts, in bytes of the title's stream and in
  // units (audio/audio_time.h) after the title's start; empty when not timed throughout.
  std::vector<AudioPart> parts;
  std::optional<LpcmFormat> lpcm;  // LPCM's, whose WAV file the parts are placed in
  // A timed audio's coding, whose frames meet at a join, and its stream's number in the clip.
  AudioCoding coding = AudioCoding::DD;
  int stream = 0;
  // A timed audio's breaks on the title's time line: in each clip, and where each clip's
  // audio joins the title's.
  std::vector<StreamBreak> breaks;
};

struct TitleDemuxResult {
  JobEnd end = JobEnd::Complete;
  std::exception_ptr error;       // what ended a failed job
  std::vector<TitleOutput> made;  // the outputs, in the order first written
};

// The file name part of every output: the title's name without the characters file
// systems refuse ("Tessaly: The Feature" gives "Tessaly The Feature").
std::string titleFileName(const DiscTitle& title);

// An output's caption: "video", or "audio1.eng.DD+" (track number, language or "und",
// coding).
std::string trackCaption(const char* kind, const DiscTrack& track);

// Checks the title before anything is written: it has clips and every clip an EVO that
// opens ("Title N has no clips", "Clip K of title N (NAME.MAP) has no EVO", "Cannot open
// file ..."), and for a film no LPCM track in more than one clip ("Track audioN of title N
// is LPCM in more than one clip: its WAV parts cannot be joined"), then demuxes clip by
// clip, each clip's part of a track appended to the track's output (disc/title_parts.h).
// The breaks of a film's audio are said once every clip is done, track by track, on the
// title's time line (audioBreakLines). Never throws: a failure is the result's.
TitleDemuxResult demuxTitle(const TitleDemuxRequest& request, JobObserver& observer);

}  // namespace tessaly
