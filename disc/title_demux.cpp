#include "disc/title_demux.h"

#include <stdlib.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string_view>

#include "job/demux.h"
#include "job/output_check.h"
#include "job/output_set.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCopyChunk = 1 << 20;

std::string clipPath(const TitleDemuxRequest& request, const DiscClip& clip) {
  return request.files->pathOf(request.videoFolder, *clip.evo);
}

void checkClips(const TitleDemuxRequest& request) {
  const DiscTitle& title = request.title;
  const std::string name = "title " + std::to_string(title.number);
  if (title.clips.empty()) throw Error("The " + name + " has no clips");
  for (std::size_t n = 0; n < title.clips.size(); ++n) {
    const DiscClip& clip = title.clips[n];
    if (!clip.evo) {
      throw Error("Clip " + std::to_string(n + 1) + " of " + name + " (" + clip.map +
                  ") has no EVO");
    }
    request.files->open(clipPath(request, clip), Access::Shared);  // "Cannot open file ..."
  }
}

// The outputs of one clip: the main video, and each track the clip maps to a stream with
// an output entry.
std::vector<OutputRequest> clipOutputs(const DiscTitle& title, std::size_t clip) {
  std::vector<OutputRequest> outputs{{kVideoSlot, "video"}};
  const auto add = [&](const std::vector<DiscTrack>& tracks, const char* kind, int firstSlot) {
    for (const DiscTrack& track : tracks) {
      const auto& stream = track.streams.at(clip);
      const int slot = stream ? firstSlot + *stream - 1 : 0;
      if (stream && OutputSet::hasEntry(slot)) outputs.push_back({slot, trackCaption(kind, track)});
    }
  };
  add(title.audio, "audio", kAudioSlot);
  add(title.subtitles, "subtitle", kSubSlot);
  return outputs;
}

// A scratch folder inside the output folder for one clip's outputs, removed with them.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& inside) {
    std::string pattern = inside + "/.tessaly-clip-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw Error("Cannot create a folder in \"" + inside + "\"");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The title's outputs, each created at its first part and appended to by the later ones.
class TitleOutputs {
 public:
  TitleOutputs(std::string folder, std::vector<FileId> inputs, std::vector<std::string>& made)
      : folder_(std::move(folder)), names_(std::move(inputs)), made_(made) {}

  void append(const std::string& part) {
    const std::string name = fileNamePart(part);
    auto& output = outputs_[name];
    if (!output) {
      const std::string path = folder_ + kSeparator + name;
      names_.check({path});  // never an input, whatever the title's name
      output = std::make_unique<OutputFile>(path);
      made_.push_back(path);
    }
    InputFile input(part, Access::Shared);
    for (auto bytes = input.next(kCopyChunk); !bytes.empty(); bytes = input.next(kCopyChunk)) {
      output->write(bytes.data(), bytes.size());
    }
  }
  void closeAll() {
    for (auto& [name, output] : outputs_) output->close();
  }

 private:
  std::string folder_;
  NameCheck names_;
  std::vector<std::string>& made_;
  std::map<std::string, std::unique_ptr<OutputFile>> outputs_;
};

// Demuxes clip `n` into a scratch folder and appends its outputs to the title's.
JobEnd demuxClip(const TitleDemuxRequest& request, std::size_t n, TitleOutputs& outputs,
                 JobObserver& observer) {
  const ScratchFolder scratch(request.outputFolder);
  DemuxRequest clip;
  clip.segments = {clipPath(request, request.title.clips[n])};
  clip.files = request.files;
  clip.outputBase = scratch.path() + kSeparator + titleFileName(request.title);
  clip.forms.names = OutputNames::Codec;
  clip.outputs = clipOutputs(request.title, n);
  DemuxResult result = runDemux(clip, observer);
  if (result.error) std::rethrow_exception(result.error);
  for (const MadeFile& file : result.made) outputs.append(file.name);
  return result.end;
}

void runTitle(const TitleDemuxRequest& request, JobObserver& observer, TitleDemuxResult& result) {
  checkClips(request);
  std::vector<FileId> inputs;
  for (const DiscClip& clip : request.title.clips) {
    if (const auto id = request.files->holder(clipPath(request, clip))) inputs.push_back(*id);
  }
  TitleOutputs outputs(request.outputFolder, std::move(inputs), result.made);
  for (std::size_t n = 0; n < request.title.clips.size(); ++n) {
    result.end = demuxClip(request, n, outputs, observer);
    if (result.end != JobEnd::Complete) break;
  }
  outputs.closeAll();
}

}  // namespace

std::string titleFileName(const DiscTitle& title) {
  std::string name;
  for (const char c : title.name) {
    if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos || c == '\0') continue;
    if (c == ' ' && (name.empty() || name.back() == ' ')) continue;
    name += c;
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  return name.empty() ? "Title " + std::to_string(title.number) : name;
}

std::string trackCaption(const char* kind, const DiscTrack& track) {
  return std::string(kind) + std::to_string(track.track) + "." + track.language.value_or("und") +
         "." + (track.coding.empty() ? "unknown" : track.coding);
}

TitleDemuxResult demuxTitle(const TitleDemuxRequest& request, JobObserver& observer) {
  TitleDemuxResult result;
  try {
    runTitle(request, observer, result);
  } catch (...) {
    result.end = JobEnd::Failed;
    result.error = std::current_exception();
  }
  return result;
}

}  // namespace tessaly
