// The outputs of a demux job's ticked entries. Each is planned first with every file
// name it may create, so that all names are checked before any file is made; then each
// is opened. An output named by its caption and extension edit is created at once; one
// named by codec, or one that may write LPCM as WAV, when its stream's first packet names
// the codec; a timed subpicture output when its first unit names the format.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/session.h"

namespace tessaly {

// The forms of the job's outputs: the command line's choices, each also turned on by the
// window's box "Outputs for other tools (codec names, WAV, timed subtitles)".
struct OutputForms {
  OutputNames names = OutputNames::Described;
  LpcmOutputs lpcm = LpcmOutputs::Raw;
  SubpictureOutputs subpictures = SubpictureOutputs::Raw;
};

OutputForms outputForms(const Session& session);

struct PlannedOutput {
  int slot = 0;
  std::vector<std::string> names;  // every file the output may create
  // Makes the entry's output (and, for one created at once, its file).
  std::function<std::unique_ptr<StreamOutput>()> open;
};

// The output of every ticked entry, in job order, named after `outputBase`.
std::vector<PlannedOutput> plannedOutputs(Session& session, const std::string& outputBase);

// Logs "Creating NAME" for a file just made and notes it in session.Made.
void noteCreated(Session& session, int slot, const std::string& name, FileForm form);

}  // namespace tessaly
