#include "job/demux_job.h"

#include <memory>
#include <optional>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/demux.h"
#include "catalogue/evo_input.h"
#include "job/job_outputs.h"
#include "job/output_check.h"
#include "shell/invoke.h"
#include "shell/paths.h"
#include "shell/report.h"

namespace tessaly {
namespace {

// The second segment of a numbered pair: FEATURE_1.EVO continues in FEATURE_2.EVO.
struct Continuation {
  bool FirstSegment = false;
  std::string NextEVO;  // full path of the continuation file
};

Continuation continuationCheck(const Session& s) {
  Continuation c;
  if (!s.fMain.cbContinue.ticked) return c;
  c.FirstSegment = endsWith(s.EVOname, "_1.EVO");  // case-sensitive on purpose
  const std::string& path = s.fMain.eEVOfile.text;
  c.NextEVO = path.substr(0, path.size() > 5 ? path.size() - 5 : 0) + "2.EVO";
  return c;
}

// The names an output may create: a timed subpicture output's first unit picks its
// format's files, an output named by codec its stream's first packet, so all are checked.
std::vector<std::string> allNames(const std::vector<PlannedOutput>& outputs) {
  std::vector<std::string> names;
  for (const auto& output : outputs)
    names.insert(names.end(), output.names.begin(), output.names.end());
  return names;
}

// The files the job reads: the open input, and the second segment when it may follow.
std::vector<FileId> inputFiles(const Session& s, const Continuation& c) {
  std::vector<FileId> inputs{s.InputStream->id()};
  if (c.FirstSegment) {
    if (const auto next = fileIdOf(c.NextEVO)) inputs.push_back(*next);
  }
  return inputs;
}

// Creates the outputs once every name has passed its check, so that a name that fails
// leaves nothing created or truncated; the set is fixed from here on.
void createOutputs(Session& s, const std::string& base, const Continuation& c) {
  const std::vector<PlannedOutput> outputs = plannedOutputs(s, base);
  std::vector<std::string> names = allNames(outputs);
  if (s.FollowUp.names) {
    const auto more = s.FollowUp.names(s);
    names.insert(names.end(), more.begin(), more.end());
  }
  checkOutputNames(names, inputFiles(s, c));
  for (const auto& output : outputs) s.OutputStreams.open(output.slot, output.open());
}

// Tested after the first pass, in this order: the option may have been unticked and
// the second file removed meanwhile, and a stopped pass never continues.
bool continues(const Session& s, const Continuation& c) {
  return s.fMain.cbContinue.ticked && !s.StopRequested && c.FirstSegment && fileExists(c.NextEVO);
}

void continueOn(Session& s, const std::string& next) {
  s.InputStream.reset();
  s.InputStream = std::make_unique<InputFile>(next, Access::Exclusive);
  log(s, "Continue on " + fileNamePart(next));
  s.Found.continuedWith = next;
  demux(s, 1);
}

void writeStreams(Session& s) {
  const std::string base = OutputBase(s);
  const Continuation continuation = continuationCheck(s);
  openEVO(s, Access::Exclusive);
  logFileSize(s);
  s.Origin = {};
  s.Made.clear();
  createOutputs(s, base, continuation);
  slog(s, "Writing stream(s)", 0);
  demux(s, 1);
  if (continues(s, continuation)) continueOn(s, continuation.NextEVO);
}

// The run of "Demux".
void demuxJob(Session& s) {
  auto& w = s.fMain;
  w.bDemux.enabled = false;
  w.PageControl = tsStatus;
  FilesRelease release(s);
  writeStreams(s);
  release.close();  // outputs are buffered: their last write can fail here
  if (s.FollowUp.run) s.FollowUp.run(s);
  log(s, "Done.");
  slog(s, "Ready", 0);
  slog(s, "", 1);
  w.bDemux.enabled = true;
}

}  // namespace

std::string OutputBase(const Session& s) {
  const std::string& folder = s.fMain.eWorkdir.text;
  if (folder.empty()) return s.BaseName;
  return folder + (folder.back() == kSeparator ? "" : "/") + s.BaseName;
}

void bDemuxClick(Session& s) {
  runJob(s, demuxJob);
}

}  // namespace tessaly
