// The outputs of a demux job. Each is planned first with every file name it may create, so
// that its names are checked before any file is made; then it is opened. An output named
// by its caption and extension is created at once; one named by codec, or one that may
// write LPCM as WAV, when its stream's first packet names the codec; a timed subpicture
// output when its first unit names the format.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/time_origin.h"
#include "job/demux.h"
#include "job/stream_output.h"
#include "job/video_frame.h"

namespace tessaly {

// What the outputs of one job share: how they are named and formed, the moment their
// times count from, and where every file made is told.
class OutputContext {
 public:
  OutputContext(const DemuxRequest& request, JobObserver& observer, DemuxResult& result,
                const TimeOrigin& origin);

  const std::string& outputBase() const { return request_.outputBase; }
  const OutputForms& forms() const { return request_.forms; }
  // The extension of a slot's group, as the request gives it.
  const std::string& extension(int slot) const;
  // The playlist's language of the stream in `slot` (or of a routed key's number); empty
  // when not known.
  std::string language(int slot) const;
  // What a scan found of the stream in `slot` before the job.
  const StreamFacts& scanned(int slot) const { return request_.scanned[slot]; }
  const TimeOrigin& origin() const { return origin_; }
  JobObserver& observer() { return observer_; }
  const VobSubPalette& palette() const { return request_.vobsubPalette; }
  // The video's frame (for the VobSub index): HD DVD's until video stream 0's output
  // reads its sequence header.
  VideoFrame& frame() { return frame_; }

  // The caption that names the output of `slot`.
  void captioned(int slot, const std::string& caption);
  // A file was just made: logs "Creating NAME" and notes it in the result.
  void created(int slot, const std::string& name, FileForm form);
  // The units of the subpicture stream in `slot` so far.
  void unitsCounted(int slot, const SubpictureUnits& units) {
    result_.found.subpictures[slot] = units;
  }

 private:
  const DemuxRequest& request_;
  JobObserver& observer_;
  DemuxResult& result_;
  const TimeOrigin& origin_;
  VideoFrame frame_;
};

struct PlannedOutput {
  int slot = 0;
  std::vector<std::string> names;  // every file the output may create
  // Makes the entry's output (and, for one created at once, its file).
  std::function<std::unique_ptr<StreamOutput>()> open;
};

// Every name the output of audio key `key` (or slot) captioned `caption` may take.
std::vector<std::string> audioOutputNames(OutputContext& context, int key,
                                          const std::string& caption);

// The output of the stream in `slot` (an output key: a slot, or a routed audio key), named
// with `caption`. Video stream 0's also reads
// the video's frame; a subpicture stream's also counts its units.
PlannedOutput planOutput(OutputContext& context, int slot, const std::string& caption);

}  // namespace tessaly
