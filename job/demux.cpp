#include "job/demux.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "catalogue/captions.h"
#include "catalogue/job_port.h"
#include "catalogue/scan.h"
#include "engine/codecs.h"
#include "engine/output_keys.h"
#include "job/break_lines.h"
#include "job/job_outputs.h"
#include "job/output_check.h"
#include "job/output_set.h"
#include "platform/paths.h"

namespace tessaly {
namespace {

// The packet as the job's timing takes it: its stream named by its output key (the slot,
// unless audio is routed by sub-stream id).
PacketStart keyed(PacketStart packet) {
  packet.slot = packet.route;
  return packet;
}

OutputPacket outputPacket(const PacketStart& packet) {
  const Codec* codec = packetCodec(packet);
  return {packet.hasPts ? std::optional(packet.pts) : std::nullopt,
          codec ? static_cast<int>(codec - kCodecs.data()) : -1, packet.lpcmFormat};
}

// The files the job reads: those that hold the segments now (the first is open), and the
// files the request names besides.
std::vector<FileId> inputFiles(const DemuxRequest& request) {
  std::vector<FileId> inputs = inputIds(request.alsoReads);
  for (const std::string& segment : request.segments) {
    if (const auto id = request.files->holder(segment)) inputs.push_back(*id);
  }
  return inputs;
}

// The job's outputs: the requested ones made before the first pass, once every name has
// passed its check (so that a name that fails leaves nothing created or truncated); the
// discovered ones as their streams are found. Whatever ends the job, each is closed.
class JobOutputs {
 public:
  JobOutputs(const DemuxRequest& request, JobObserver& observer, DemuxResult& result,
             std::vector<FileId> inputs)
      : request_(request),
        observer_(observer),
        result_(result),
        context_(request, observer, result, origin_),
        names_(std::move(inputs)) {}
  ~JobOutputs() {
    try {
      set_.closeAll();
    } catch (...) {
      // The error that ended the job is the one reported, not a second one from closing.
    }
  }
  JobOutputs(const JobOutputs&) = delete;
  JobOutputs& operator=(const JobOutputs&) = delete;

  void createRequested() {
    std::vector<PlannedOutput> plans;
    std::vector<std::string> names;
    for (const OutputRequest& output : request_.outputs) {
      if (routedLater(output.slot)) {
        // Any coding of the number may take the caption: its names are checked now, a
        // further coding's when its first packet comes.
        wanted_.emplace(output.slot, output.caption);
        const auto taken = audioOutputNames(context_, output.slot, output.caption);
        names.insert(names.end(), taken.begin(), taken.end());
        continue;
      }
      plans.push_back(planOutput(context_, output.slot, output.caption));
      names.insert(names.end(), plans.back().names.begin(), plans.back().names.end());
    }
    names.insert(names.end(), request_.alsoCreates.begin(), request_.alsoCreates.end());
    names_.check(names);
    for (auto& plan : plans) set_.open(plan.slot, plan.open());
  }

  // Discovery: the later steps' names now, each output's when its stream is found.
  void checkLaterSteps() { names_.check(request_.alsoCreates); }

  void discovered(int slot, std::int32_t value) {
    if (routedLater(slot) || !selected(slot) || set_.find(slot)) return;
    openLater(slot, StreamCaption(slot, value));
  }

  // A packet of a routed key's stream: its output is made at its first packet when the
  // request wants its number (or discovers it while `discovering`). MPEG audio has no box
  // and no track to ask for it: each of its streams has an output.
  void routed(int key, std::int32_t value, bool discovering) {
    if (set_.find(key)) return;
    const int slot = keySlot(key);
    if (request_.discover) {
      if (discovering && selected(slot)) openLater(key, StreamCaption(key, value));
      return;
    }
    if (keySource(key) == kMpegAudioSource) return openLater(key, StreamCaption(key, value));
    const auto wanted = wanted_.find(slot);
    if (wanted == wanted_.end()) return;
    // The first routed key of the number takes its caption, whose names were checked.
    if (captionTaken_.insert(slot).second) return open(planOutput(context_, key, wanted->second));
    openLater(key, StreamCaption(key, value));
  }

  StreamOutput* find(int slot) { return set_.find(slot); }
  TimeOrigin& origin() { return origin_; }

  // The open outputs' lines about the pass, in job order.
  std::vector<std::string> passEndLines() {
    std::vector<std::string> lines;
    for (int slot : OutputSet::keyOrder()) {
      if (StreamOutput* output = set_.find(slot)) {
        for (std::string& line : output->passEnd()) lines.push_back(std::move(line));
      }
    }
    return lines;
  }

  // Closes every output in job order; a failed last write throws.
  void closeAll() { set_.closeAll(); }

  // After a failure: the files of every output still open go, each said in the log.
  void removeUnfinished() {
    for (int slot : OutputSet::keyOrder()) {
      if (!set_.find(slot)) continue;
      for (const MadeFile& file : result_.made) {
        if (file.slot == slot) removeUnfinishedFile(observer_, file.name);
      }
    }
  }

 private:
  // Routed by sub-stream id, an audio slot's streams have their routed keys' outputs.
  bool routedLater(int slot) const {
    return request_.routing == Routing::BySubStream && !isRoutedKey(slot) &&
           groupOfSlot(slot)->group == StreamGroup::Audio;
  }
  bool selected(int slot) const {
    const auto& only = request_.discover->only;
    return OutputSet::hasEntry(slot) && (!only || only->count(slot));
  }
  void openLater(int key, const std::string& caption) {
    PlannedOutput plan = planOutput(context_, key, caption);
    names_.check(plan.names);
    open(plan);
  }
  void open(const PlannedOutput& plan) { set_.open(plan.slot, plan.open()); }

  const DemuxRequest& request_;
  JobObserver& observer_;
  DemuxResult& result_;
  TimeOrigin origin_;  // of the job's timed outputs
  OutputContext context_;
  NameCheck names_;
  OutputSet set_;
  std::map<int, std::string> wanted_;  // routed by sub-stream id: audio slot -> caption
  std::set<int> captionTaken_;         // the audio slots whose caption a routed key took
};

// A payload run to its stream's output and to the job's timing.
class TimedRun final : public PayloadSink {
 public:
  explicit TimedRun(JobTiming& timing) : timing_(timing) {}
  PayloadSink* to(int slot, PayloadSink* output) {
    slot_ = slot;
    output_ = output;
    return this;
  }
  void write(const std::uint8_t* data, std::size_t size) override {
    output_->write(data, size);
    timing_.payload(slot_, data, size);
  }

 private:
  JobTiming& timing_;
  int slot_ = 0;
  PayloadSink* output_ = nullptr;
};

// A writing pass: every payload run to its stream's output, every packet start told to it
// and noted in the time origin; while discovering, each stream found is logged and gets
// its output. With the job's timing, it is told the packets of the streams written and of
// video stream 0 (whose time stamps line up the segments), and the runs written.
class WritingPort final : public JobPort {
 public:
  WritingPort(JobObserver& observer, Findings& found, const PassInput& input, JobOutputs& outputs,
              bool discovering, JobTiming* timing)
      : JobPort(observer, found, input, PassMode::Write, discovering),
        outputs_(outputs),
        discovering_(discovering),
        timing_(timing) {
    if (timing_) timedRun_.emplace(*timing_);
  }

  void streamFound(const StreamFound& found) override {
    JobPort::streamFound(found);
    if (discovering_) outputs_.discovered(found.slot, found.value);
  }
  void packetStart(const PacketStart& packet) override {
    JobPort::packetStart(packet);
    if (packet.slot == 0) return;
    if (packet.hasPts) outputs_.origin().note(packet.slot, packet.pts);
    if (isRoutedKey(packet.route)) {
      outputs_.routed(packet.route, found_.streams[packet.route].value, discovering_);
    }
    StreamOutput* output = outputs_.find(packet.route);
    if (output) output->packetStart(outputPacket(packet));
    // The timing knows a stream by its output key, as the payload runs name it.
    if (timing_ && (output || packet.slot == kVideoSlot)) timing_->packetStart(keyed(packet));
  }
  PayloadSink* payloadRun(int key) override {
    StreamOutput* output = outputs_.find(key);
    return output && timedRun_ ? timedRun_->to(key, output) : output;
  }
  // Where a scan with the fast check would have ended: later streams get no output.
  void fastCheckLimitPassed() override {
    discovering_ = false;
    logFound_ = false;
  }
  void passEnded(const PassResult& result) override {
    JobPort::passEnded(result);
    for (const std::string& line : outputs_.passEndLines()) observer_.log(line);
  }

 private:
  JobOutputs& outputs_;
  bool discovering_;
  JobTiming* timing_;
  std::optional<TimedRun> timedRun_;
};

class DemuxRun {
 public:
  DemuxRun(const DemuxRequest& request, JobObserver& observer, DemuxResult& result)
      : request_(request), observer_(observer), result_(result) {
    if (request_.timing) timing_.emplace(JobTimingOptions{request_.checkVideo});
  }

  void run() {
    logOpening(request_.segments.at(0), observer_);
    std::unique_ptr<PassInput> input =
        request_.files->open(request_.segments.front(), Access::Exclusive);
    result_.found.file = input->path();
    result_.found.size = input->size();
    logFileSize(*input, observer_);
    JobOutputs outputs(request_, observer_, result_, inputFiles(request_));
    try {
      write(input, outputs);
    } catch (...) {
      if (request_.removeUnfinished) outputs.removeUnfinished();
      throw;
    }
  }

 private:
  // The outputs made, the passes, and the outputs closed.
  void write(std::unique_ptr<PassInput>& input, JobOutputs& outputs) {
    if (request_.discover) {
      outputs.checkLaterSteps();
    } else {
      outputs.createRequested();
    }
    observer_.status(0, "Writing stream(s)");
    PassEnd end = pass(*input, outputs, request_.discover.has_value());
    for (std::size_t n = 1; n < request_.segments.size() && goesOn(end, request_.segments[n]);
         ++n) {
      const std::string& next = request_.segments[n];
      input.reset();
      input = request_.files->open(next, Access::Exclusive);
      observer_.log("Continue on " + fileNamePart(next));
      if (result_.found.continuedWith.empty()) result_.found.continuedWith = next;
      if (timing_) timing_->segmentStart();
      end = pass(*input, outputs, false);
    }
    result_.end = jobEnd(end);
    input.reset();
    outputs.closeAll();  // outputs are buffered: their last write can fail here
    if (timing_) sayBreaks();
  }

  PassEnd pass(PassInput& input, JobOutputs& outputs, bool discovering) {
    WritingPort port(observer_, result_.found, input, outputs, discovering,
                     timing_ ? &*timing_ : nullptr);
    const PassOptions options{PassMode::Write, discovering && request_.discover->fastCheck,
                              request_.routing};
    return runJobPass(input, result_.table, options, port, observer_);
  }

  // Tested after the pass before, in this order: a stopped pass never continues, the
  // observer may say no, and the file may have been removed meanwhile.
  bool goesOn(PassEnd end, const std::string& next) {
    return end != PassEnd::Stopped && observer_.continueWith(next) && request_.files->exists(next);
  }

  // The times of the streams written, each break said once the outputs are complete.
  void sayBreaks() {
    result_.timing = timing_->finish();
    if (!request_.sayBreaks) return;
    for (const std::string& line : breakLines(*result_.timing)) observer_.log(line);
  }

  const DemuxRequest& request_;
  JobObserver& observer_;
  DemuxResult& result_;
  std::optional<JobTiming> timing_;
};

}  // namespace

void removeUnfinishedFile(JobObserver& observer, const std::string& name) {
  if (::unlink(name.c_str()) == 0) {
    observer.log("Removed the unfinished " + name);
  } else if (errno != ENOENT) {
    observer.log("Cannot remove the unfinished " + name + ": " + std::strerror(errno));
  }
}

std::vector<std::string> demuxSegments(const std::string& path, bool continued) {
  std::vector<std::string> files{path};
  if (continued && endsWith(fileNamePart(path), "_1.EVO")) {  // case-sensitive on purpose
    files.push_back(path.substr(0, path.size() - 5) + "2.EVO");
  }
  return files;
}

DemuxResult runDemux(const DemuxRequest& request, JobObserver& observer) {
  DemuxResult result;
  try {
    DemuxRun(request, observer, result).run();
  } catch (...) {
    result.end = JobEnd::Failed;
    result.error = std::current_exception();
  }
  return result;
}

}  // namespace tessaly
