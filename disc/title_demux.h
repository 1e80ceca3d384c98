// "Demux" of a whole title: every clip's EVO in title order, each track into one output
// named after the title and the track, fed from the stream that each clip maps it to.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "disc/disc.h"
#include "platform/job_observer.h"

namespace tessaly {

struct TitleDemuxRequest {
  std::string videoFolder;  // the disc's HVDVD_TS, where the clips' EVOs are
  DiscTitle title;
  std::string outputFolder;
  const DiscFiles* files = &folderFiles();  // the disc's: a folder on disk, or an image
};

struct TitleDemuxResult {
  JobEnd end = JobEnd::Complete;
  std::exception_ptr error;       // what ended a failed job
  std::vector<std::string> made;  // the outputs, in the order first written
};

// The file name part of every output: the title's name without the characters file
// systems refuse ("Tessaly: The Feature" gives "Tessaly The Feature").
std::string titleFileName(const DiscTitle& title);

// An output's caption: "video", or "audio1.eng.DD+" (track number, language or "und",
// coding).
std::string trackCaption(const char* kind, const DiscTrack& track);

// Checks the title before anything is written: it has clips and every clip an EVO that
// opens ("Title N has no clips", "Clip K of title N (NAME.MAP) has no EVO", "Cannot open
// file ..."), then demuxes clip by clip. Never throws: a failure is the result's.
TitleDemuxResult demuxTitle(const TitleDemuxRequest& request, JobObserver& observer);

}  // namespace tessaly
