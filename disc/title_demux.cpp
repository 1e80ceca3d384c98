#include "disc/title_demux.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string_view>

#include "disc/audio_join.h"
#include "disc/title_parts.h"
#include "engine/codecs.h"
#include "engine/output_keys.h"
#include "job/demux.h"
#include "job/output_check.h"
#include "job/output_set.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/scratch_folder.h"

namespace tessaly {
namespace {

std::string clipPath(const TitleDemuxRequest& request, const DiscClip& clip) {
  return request.files->pathOf(request.videoFolder, *clip.evo);
}

// A WAV file has its sizes in its header: parts of one cannot be joined byte after byte.
void checkWavParts(const DiscTitle& title) {
  for (const DiscTrack& track : title.audio) {
    const auto clips = std::count_if(track.streams.begin(), track.streams.end(),
                                     [](const std::optional<int>& s) { return s.has_value(); });
    if (track.coding == "LPCM" && clips > 1) {
      throw Error("Track audio" + std::to_string(track.track) + " of title " +
                  std::to_string(title.number) +
                  " is LPCM in more than one clip: its WAV parts cannot be joined");
    }
  }
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
  if (request.film) checkWavParts(title);
}

// The outputs of one clip: the main video, and each track the clip maps to a stream with
// an output entry; with the track each output key's stream feeds. When audio tracks share
// a stream number, the clip is routed by sub-stream id and its audio tracks are told apart
// by their codings.
struct ClipOutputs {
  std::vector<OutputRequest> outputs{{kVideoSlot, "video"}};
  std::map<int, int> tracks{{kVideoSlot, 0}};  // output key -> track number
  Routing routing = Routing::ByNumber;
};

// A codec's name without its spaces and hyphens: "DTS-HD" and "DTS HD" are one.
std::string codecLetters(std::string_view name) {
  std::string letters;
  for (const char c : name) {
    if (c != ' ' && c != '-') letters += c;
  }
  return letters;
}

// An audio track's output key: its stream number and its coding (AC-3 being DD), so that
// two codings that share a number are two tracks; the slot for a coding not known.
int audioTrackKey(const DiscTrack& track, int slot) {
  const std::string coding = codecLetters(track.coding) == "AC3" ? "DD" : track.coding;
  for (const Codec& codec : kCodecs) {
    if (codec.group == StreamGroup::Audio && codecLetters(codec.name) == codecLetters(coding)) {
      return routedKey(slot - kAudioSlot, audioSource(codec.coding));
    }
  }
  return slot;
}

// Whether two audio tracks of the clip map to one stream number.
bool sharedNumber(const DiscTitle& title, std::size_t clip) {
  std::set<int> seen;
  for (const DiscTrack& track : title.audio) {
    const auto& stream = track.streams.at(clip);
    if (stream && !seen.insert(*stream).second) return true;
  }
  return false;
}

ClipOutputs clipOutputs(const DiscTitle& title, std::size_t clip) {
  ClipOutputs result;
  if (sharedNumber(title, clip)) result.routing = Routing::BySubStream;
  const auto add = [&](const std::vector<DiscTrack>& tracks, const char* kind, int firstSlot) {
    for (const DiscTrack& track : tracks) {
      const auto& stream = track.streams.at(clip);
      const int slot = stream ? firstSlot + *stream - 1 : 0;
      if (!stream || !OutputSet::hasEntry(slot)) continue;
      const bool routed = firstSlot == kAudioSlot && result.routing == Routing::BySubStream;
      const int key = routed ? audioTrackKey(track, slot) : slot;
      result.outputs.push_back({key, trackCaption(kind, track)});
      result.tracks[key] = track.track;
    }
  };
  add(title.audio, "audio", kAudioSlot);
  add(title.subtitles, "subtitle", kSubSlot);
  return result;
}

// The title's outputs, each created at its first part and appended to by the later ones.
class TitleOutputs {
 public:
  TitleOutputs(std::string folder, std::vector<FileId> inputs,
               const std::vector<std::string>& alsoCreates, std::vector<TitleOutput>& made)
      : folder_(std::move(folder)), names_(std::move(inputs)), made_(made) {
    names_.check(alsoCreates);
  }

  // Appends a clip's part, which begins `offsetMs` into the title; `output` is what the
  // title's output of the part holds, its audio parts in the clip's bytes and after its
  // start.
  void append(const std::string& part, std::int64_t offsetMs, const TitleOutput& output) {
    const std::string name = fileNamePart(part);
    Output& title = outputs_[name];
    PartPlace place{offsetMs, 0, !title.file};
    if (!title.file) {
      const std::string path = folder_ + kSeparator + name;
      names_.check({path});  // never an input, whatever the title's name
      title.file = std::make_unique<OutputFile>(path);
      title.made = made_.size();
      made_.push_back(output);
      made_.back().name = path;
      made_.back().parts.clear();
      made_.back().breaks.clear();
    }
    joinAudio(made_[title.made], output, part, title.bytes);
    // A VobSub index part comes before its NAME.sub part: the positions count the joined
    // NAME.sub's bytes before this clip's.
    if (output.form == FileForm::VobSubIndex) {
      place.streamBytes = outputs_[name.substr(0, name.size() - 3) + "sub"].bytes;
    }
    title.bytes += appendPart(*title.file, part, output.form, place);
  }
  // Says the breaks of every timed audio output, output by output.
  void sayBreaks(JobObserver& observer) const {
    for (const TitleOutput& output : made_) {
      for (const std::string& line : audioBreakLines(output.breaks)) observer.log(line);
    }
  }
  // Closes each output; the first failed last write throws, leaving the later ones open.
  void closeAll() {
    for (auto& [name, output] : outputs_) {
      if (!output.file) continue;
      output.file->close();
      output.file.reset();
    }
  }
  // After a failure: the files of the outputs still open go, each said in the log.
  void removeUnfinished(JobObserver& observer) {
    for (auto& [name, output] : outputs_) {
      if (!output.file) continue;
      output.file.reset();
      removeUnfinishedFile(observer, folder_ + kSeparator + name);
    }
  }

 private:
  struct Output {
    std::unique_ptr<OutputFile> file;
    std::uint64_t bytes = 0;
    std::size_t made = 0;  // its entry in made_
  };

  // The clip's audio parts and breaks after the title's, and the break where they join.
  static void joinAudio(TitleOutput& title, const TitleOutput& clip, const std::string& path,
                        std::uint64_t bytesBefore) {
    std::vector<AudioPart> parts = clip.parts;
    if (const auto join = joinClipAudio(title.parts, parts, path, clip.coding)) {
      title.breaks.push_back({clip.stream, audioCodec(clip.coding).name, breakRecord(*join, 0)});
    }
    placeAudioParts(title.parts, parts, bytesBefore);
    title.breaks.insert(title.breaks.end(), clip.breaks.begin(), clip.breaks.end());
  }

  std::string folder_;
  NameCheck names_;
  std::vector<TitleOutput>& made_;
  std::map<std::string, Output> outputs_;
};

// The track that the output of `key` feeds: by the key, or for a track of a coding not known
// (asked for by its slot) the coding that took the track's caption; none for the codings and
// MPEG audio streams that no track asks for.
std::optional<int> trackOf(const ClipOutputs& wanted, const Findings& found, int key) {
  if (const auto track = wanted.tracks.find(key); track != wanted.tracks.end()) {
    return track->second;
  }
  for (const OutputRequest& output : wanted.outputs) {
    if (output.slot == keySlot(key) && output.caption == found.captions.at(key)) {
      return wanted.tracks.at(output.slot);
    }
  }
  return std::nullopt;
}

// The timing of the audio output `file` (raw, or LPCM's WAV): its parts as the clip's
// timing cut them and its breaks, on the title's time line (the clip's video `offset` units
// into it), its coding and LPCM's format; none when not timed.
void addClipTiming(TitleOutput& output, const DemuxResult& result, const MadeFile& file,
                   std::int64_t offset) {
  if (!result.timing || (file.form != FileForm::Raw && file.form != FileForm::Wav)) return;
  for (const AudioStreamTiming& stream : result.timing->streams) {
    if (stream.slot != file.slot || !stream.walked) continue;
    const std::int64_t zero = delayZero(*result.timing, stream);
    output.parts = stream.timeline.parts;
    for (AudioPart& part : output.parts) part.start += offset - zero;
    output.breaks = streamBreaks(*result.timing, stream, offset);
    output.coding = stream.coding;
    output.stream = streamNumber(stream.slot);
    output.lpcm = stream.lpcm;
  }
}

// Demuxes clip `n` into a scratch folder and appends its outputs to the title's.
JobEnd demuxClip(const TitleDemuxRequest& request, std::size_t n, TitleOutputs& outputs,
                 JobObserver& observer) {
  const ScratchFolder scratch(request.outputFolder, "clip");
  DemuxRequest clip;
  clip.segments = {clipPath(request, request.title.clips[n])};
  clip.files = request.files;
  clip.outputBase = scratch.path() + kSeparator + titleFileName(request.title);
  clip.forms.names = OutputNames::Codec;
  if (request.film) {
    clip.forms.subpictures = kFilmSubpictures;
    clip.forms.lpcm = kFilmLpcm;
    clip.timing = true;
    clip.sayBreaks = false;  // the title says them on its time line
  }
  const ClipOutputs wanted = clipOutputs(request.title, n);
  clip.outputs = wanted.outputs;
  clip.routing = wanted.routing;
  DemuxResult result = runDemux(clip, observer);
  if (result.error) std::rethrow_exception(result.error);
  const DiscClip& place = request.title.clips[n];
  const std::int64_t offsetMs = std::max<std::int64_t>(place.titleBeginMs, 0);
  for (const MadeFile& file : result.made) {
    const std::optional<int> track = trackOf(wanted, result.found, file.slot);
    if (!track) continue;
    TitleOutput output;
    output.name = file.name;
    output.form = file.form;
    output.group = groupOfSlot(keySlot(file.slot))->group;
    output.track = *track;
    output.codec = result.found.streams[file.slot].value;
    if (output.group != StreamGroup::Video) {
      // The track's delay after the clip's video.
      output.delayMs = offsetMs + delayMs(result.found.streams, file.slot).value_or(0);
      addClipTiming(output, result, file, std::max<std::int64_t>(place.titleBeginUnits, 0));
    }
    outputs.append(file.name, offsetMs, output);
  }
  return result.end;
}

void runTitle(const TitleDemuxRequest& request, JobObserver& observer, TitleDemuxResult& result) {
  checkClips(request);
  std::vector<FileId> inputs;
  for (const DiscClip& clip : request.title.clips) {
    if (const auto id = request.files->holder(clipPath(request, clip))) inputs.push_back(*id);
  }
  TitleOutputs outputs(request.outputFolder, std::move(inputs), request.alsoCreates, result.made);
  try {
    for (std::size_t n = 0; n < request.title.clips.size(); ++n) {
      result.end = demuxClip(request, n, outputs, observer);
      if (result.end != JobEnd::Complete) break;
    }
    outputs.closeAll();
    outputs.sayBreaks(observer);
  } catch (...) {
    if (request.removeUnfinished) outputs.removeUnfinished(observer);
    throw;
  }
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
