// The module-level shared state of the tool and the window's records: one instance
// per process in the front ends, a fresh one per test.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/files.h"
#include "shell/findings.h"
#include "shell/host.h"
#include "shell/output_set.h"
#include "shell/stream_table.h"
#include "shell/time_origin.h"
#include "shell/title_facts.h"
#include "shell/window.h"

namespace tessaly {

constexpr std::size_t kReadBufferSize = 32768;

// What a subpicture output holds: the stream's bytes as they are (raw), or its units framed with
// their time stamps for other tools (HD-DVD SUP or VobSub, by the stream's first unit).
enum class SubpictureOutputs { Raw, Timed };

// How outputs are named: by caption and extension edit, or with the
// extension their codec goes by among the tools of the field (.vc1, .eac3, ...).
enum class OutputNames { Described, Codec };

// What an LPCM output holds: the stream's samples as the disc carries them, or a WAV file.
enum class LpcmOutputs { Raw, Wav };

// What a file made by a demux job holds.
enum class FileForm { Raw, Wav, HdSup, VobSubIndex, VobSubStream };

struct Session;

// A file made by a demux job, with the stream-table slot of the output it belongs to.
struct MadeFile {
  int slot = 0;
  std::string name;  // as "Creating " logged it
  FileForm form = FileForm::Raw;
};

// The Matroska file that "Demux" may go on to make through mkvmerge.
struct MatroskaRequest {
  std::string output;        // the file; empty: as the window's box says (OutputBase + ".mkv")
  std::string optionFile;    // when set, mkvmerge's call is written there instead of run
  bool keepStreams = false;  // keep the outputs that went into the Matroska file
  // How the operator does without it, for the message when mkvmerge is missing.
  std::string leaveOut = "untick \"Make a Matroska file (needs mkvmerge)\"";
};

// A step that a front end adds to "Demux" after its streams (the Matroska file): the names
// it creates, checked with the outputs' before any file is made, and the step itself, run
// once the outputs are closed and before "Done.". Either may be nullptr.
struct DemuxFollowUp {
  std::vector<std::string> (*names)(const Session& session) = nullptr;
  void (*run)(Session& session) = nullptr;
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

  std::unique_ptr<InputFile> InputStream;  // the file a job reads; one job at a time
  bool StopRequested = false;
  bool Writing = false;
  bool busy = false;  // a job runs: its triggers, the file choice and the boxes are locked

  std::vector<std::uint8_t> ReadBuffer;  // kReadBufferSize bytes, shared by the readers
  SlotTable StreamTable;
  OutputSet OutputStreams;
  SubpictureOutputs SubOutputs = SubpictureOutputs::Raw;
  OutputNames Names = OutputNames::Described;
  LpcmOutputs Lpcm = LpcmOutputs::Raw;
  std::vector<MadeFile> Made;  // the files the last demux job made, in the order made
  MatroskaRequest Matroska;
  DemuxFollowUp FollowUp;
  TimeOrigin Origin;  // of the running job's timed outputs
  Findings Found;     // what the last "Read EVO" or "Demux" found, beside StreamTable

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

// Releases InputStream when the job's scope ends, also when an error ends it.
class InputRelease {
 public:
  explicit InputRelease(Session& session) : session_(session) {}
  ~InputRelease() { session_.InputStream.reset(); }
  InputRelease(const InputRelease&) = delete;
  InputRelease& operator=(const InputRelease&) = delete;

 private:
  Session& session_;
};

// Closes InputStream, then every open output in job order, when the job's scope ends;
// an error that ended the job is the one reported, not a second one from closing.
// close() does the same at the normal end, where a failed last write is the job's error.
class FilesRelease {
 public:
  explicit FilesRelease(Session& session) : session_(session) {}
  ~FilesRelease();
  FilesRelease(const FilesRelease&) = delete;
  FilesRelease& operator=(const FilesRelease&) = delete;

  void close();

 private:
  Session& session_;
};

}  // namespace tessaly
