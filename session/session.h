// The module-level shared state of the tool and the window's records: one instance
// per process in the front ends, a fresh one per test.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/job_timing.h"
#include "catalogue/findings.h"
#include "disc/disc_operand.h"
#include "engine/stream_slots.h"
#include "job/output_forms.h"
#include "platform/write_room.h"
#include "playlist/title_facts.h"
#include "session/host.h"
#include "session/window.h"

namespace tessaly {

struct Session;

// A step that a front end adds to "Demux" after its streams (the Matroska file): the names
// it creates, checked with the outputs' before any file is made, and the step itself, run
// once the outputs are closed and before "Done.". Either may be nullptr.
struct DemuxFollowUp {
  std::vector<std::string> (*names)(const Session& session) = nullptr;
  void (*run)(Session& session) = nullptr;
  // Throws, before the demux reads its first byte, when `run` could not end well.
  void (*check)(const Session& session) = nullptr;
};

struct Session {
  explicit Session(Host& host);

  Host& host;
  Window fMain;

  std::string EVOdir;    // folder of the chosen EVO file, ending in "/"
  std::string EVOname;   // its file name
  std::string BaseName;  // EVOname less its last four characters
  std::string XPLdir;    // folder of the playlist, ending in "/"
  std::string XPLname;   // its file name

  bool StopRequested = false;
  bool Writing = false;
  bool busy = false;  // a job runs: its triggers, the file choice and the boxes are locked

  SlotTable StreamTable;
  SubpictureOutputs SubOutputs = SubpictureOutputs::Raw;
  OutputNames Names = OutputNames::Described;
  LpcmOutputs Lpcm = LpcmOutputs::Raw;
  std::vector<MadeFile> Made;  // the files the last demux job made, in the order made
  // The audio times of the last demux job, when its Matroska file was asked for.
  std::optional<JobTimingResult> Timing;
  DemuxFollowUp FollowUp;
  FreeSpace FreeSpaceOf = freeSpace;  // what a demux asks of the file systems it writes on
  Findings Found;  // what the last "Read EVO" or "Demux" found, beside StreamTable

  std::array<std::string, 8> VideoAttr;  // playlist media attributes, index 1..8 at [0..7]
  std::array<std::string, 8> AudioAttr;
  std::array<std::string, 8> SubAttr;
  PlaylistFacts Playlist;  // what the last "Read XPL" learnt beside its title phase
  // The disc whose titles lvTitles lists, and the files it is read from; nullptr for none.
  std::shared_ptr<const DiscOperand> TitleDisc;
};

// Marks a job as running for its lifetime (see Session::busy).
class JobGuard {
 public:
  explicit JobGuard(Session& session) : session_(session) { session_.busy = true; }
  ~JobGuard() { session_.busy = false; }
  JobGuard(const JobGuard&) = delete;
  JobGuard& operator=(const JobGuard&) = delete;

 private:
  Session& session_;
};

}  // namespace tessaly
