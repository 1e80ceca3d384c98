// The module-level shared state of the tool and the window's records: one instance
// per process in the front ends, a fresh one per test.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/findings.h"
#include "engine/stream_slots.h"
#include "job/output_forms.h"
#include "playlist/title_facts.h"
#include "session/host.h"
#include "session/window.h"

namespace tessaly {

struct Session;

// The Matroska file that "Demux" may go on to make through mkvmerge, as the front end
// chose it.
struct MatroskaChoice {
  std::string output;        // the file; empty: as the window's box says (OutputBase + ".mkv")
  std::string optionFile;    // when set, mkvmerge's call is written there instead of run
  bool keepStreams = false;  // keep the outputs that went into the Matroska file
  // How the operator does without it, for the message when mkvmerge is missing.
  std::string leaveOut = "untick \"Make a Matroska file (needs mkvmerge)\"";
};

// A step that a front end adds to "Demux" after its streams (the Matroska file): the names
// it creates, checked with the outputs' before any file is made, and the step itself, run
// once the outputs are closed and before "Done.". Either may be nullptr. `written` are
// the files the front end writes itself once the job is done (the command line's
// --report), checked with the rest.
struct DemuxFollowUp {
  std::vector<std::string> (*names)(const Session& session) = nullptr;
  void (*run)(Session& session) = nullptr;
  std::vector<std::string> written;
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
  MatroskaChoice Matroska;
  DemuxFollowUp FollowUp;
  Findings Found;  // what the last "Read EVO" or "Demux" found, beside StreamTable

  std::array<std::string, 8> VideoAttr;  // playlist media attributes, index 1..8 at [0..7]
  std::array<std::string, 8> AudioAttr;
  std::array<std::string, 8> SubAttr;
  PlaylistFacts Playlist;  // what the last "Read XPL" learnt beside its title phase
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
