#include "mux/mux_plan.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "engine/codecs.h"
#include "job/wav_writer.h"
#include "mux/track_name.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "playlist/title_facts.h"

namespace tessaly {
namespace {

bool isLpcm(const MuxSource& source) {
  return codecOf(source.group, source.codec) == &audioCodec(AudioCoding::Lpcm);
}

// The file of `source` in `form`; its index in files and paths, or -1.
int fileIn(const MuxSource& source, FileForm form) {
  const auto found = std::find_if(source.files.begin(), source.files.end(),
                                  [form](const MadeFile& f) { return f.form == form; });
  return found == source.files.end() ? -1 : static_cast<int>(found - source.files.begin());
}

// The file mkvmerge reads of a timed subpicture output (PGS, or the VobSub index), or -1.
int subtitleFile(const MuxSource& source) {
  const int pgs = fileIn(source, FileForm::Pgs);
  return pgs >= 0 ? pgs : fileIn(source, FileForm::VobSubIndex);
}

bool flagged(const MuxSource& source, std::string_view flag) {
  return std::find(source.flags.begin(), source.flags.end(), flag) != source.flags.end();
}

// A subtitle track that players show also when no subtitles are chosen.
bool forced(const MuxSource& source) {
  if (source.group != StreamGroup::Sub) return false;
  const auto& units = source.units;
  return source.langcodeExtension == kForcedSubtitles || flagged(source, "forced") ||
         (units && units->units > 0 && units->forcedUnits == units->units);
}

// Audio that is neither commentary nor for the visually impaired, as far as the playlist says.
bool normalAudio(const MuxSource& source) {
  const std::string& e = source.langcodeExtension;
  return (e.empty() || e == kNormalAudio || e == kUnspecified) && !flagged(source, "commentary") &&
         !flagged(source, "visual_impaired");
}

// The flags that Matroska keeps of the disc's, by mkvmerge's options.
constexpr std::array<std::pair<std::string_view, const char*>, 3> kMatroskaFlags{{
    {"hearing_impaired", "--hearing-impaired-flag"},
    {"visual_impaired", "--visual-impaired-flag"},
    {"commentary", "--commentary-flag"},
}};

// Which tracks players choose by default: the first video, the first normal audio and
// forced subtitles.
class DefaultTracks {
 public:
  bool takes(const MuxSource& source) {
    switch (source.group) {
      case StreamGroup::Video:
        return !std::exchange(video_, true);
      case StreamGroup::Audio:
        return normalAudio(source) && !std::exchange(audio_, true);
      case StreamGroup::Sub:
        return forced(source);
    }
    return false;
  }

 private:
  bool video_ = false;
  bool audio_ = false;
};

// Why the output stays out of the Matroska file; empty when it goes in.
std::string whyLeftOut(const MuxSource& source, const std::string& output) {
  const std::string& name = source.files.front().name;
  if (source.empty) return "Not muxed: " + name + " is empty.";
  if (fileIn(source, FileForm::HdSup) >= 0) {
    return "Kept beside " + fileNamePart(output) + ": " + name +
           " (Matroska has no codec for HD-DVD SUP subtitles).";
  }
  if (source.group == StreamGroup::Sub && subtitleFile(source) < 0) {
    return "Not muxed: " + name +
           " (raw units carry no times; Matroska takes subpictures as PGS or VobSub).";
  }
  if (isLpcm(source) && fileIn(source, FileForm::Wav) < 0) {
    return "Not muxed: " + name + " (mkvmerge takes no headerless LPCM; as WAV it is muxed).";
  }
  return "";
}

// A track option for the first track (0) of the next file.
void trackOption(std::vector<std::string>& arguments, const char* option,
                 const std::string& value) {
  if (value.empty()) return;
  arguments.insert(arguments.end(), {option, "0:" + value});
}

// Whether an audio output, raw or LPCM's WAV, goes in as its parts' files rather than whole.
bool cutIntoParts(const MuxRequest& request, const MuxSource& source) {
  if (request.partsFolder.empty() || source.parts.size() <= 1 ||
      source.group != StreamGroup::Audio || source.files.size() != 1) {
    return false;
  }
  const FileForm form = source.files.front().form;
  return form == FileForm::Raw || (form == FileForm::Wav && source.lpcm);
}

// Where stream byte `offset` of LPCM's whole blocks lies in the samples of its WAV file.
std::uint64_t wavOffset(const LpcmFormat& format, std::uint64_t offset) {
  const auto periods = static_cast<std::uint64_t>(format.blockPeriods());
  const auto frameBytes = static_cast<std::uint64_t>(format.wavFrameBytes());
  return offset / format.blockBytes() * periods * frameBytes;
}

// The file of `part` of `source`'s output: its bytes; for a WAV file its samples, after a
// WAV header of the part's own.
PartFile partFile(const MuxSource& source, const MkvPart& part, const std::string& path) {
  const MadeFile& file = source.files.front();
  if (file.form != FileForm::Wav) return {file.name, part.begin, part.end, path, {}};
  const LpcmFormat& format = *source.lpcm;
  const std::uint64_t samples = wavHeader(format, 0).size();
  const std::uint64_t begin = wavOffset(format, part.begin);
  const std::uint64_t end = wavOffset(format, part.end);
  return {file.name, samples + begin, samples + end, path, wavHeader(format, end - begin)};
}

// "+", a --sync and the file of each part after the first, which has the track's delay.
void addParts(const MuxRequest& request, MuxPlan& plan, const MuxSource& source) {
  const std::string& raw = source.files.front().name;
  for (std::size_t n = 0; n < source.parts.size(); ++n) {
    const MkvPart& part = source.parts[n];
    const std::string path = request.partsFolder + kSeparator + std::to_string(plan.parts.size()) +
                             "." + fileNamePart(raw);
    plan.parts.push_back(partFile(source, part, path));
    if (n > 0) plan.arguments.push_back("+");
    trackOption(plan.arguments, "--sync", std::to_string(part.syncMs));
    plan.arguments.push_back(fullPath(path));
  }
}

void addTrack(const MuxRequest& request, MuxPlan& plan, const MuxSource& source, bool isDefault) {
  trackOption(plan.arguments, "--language", source.language);
  trackOption(plan.arguments, "--track-name", trackName(source));
  trackOption(plan.arguments, "--default-track-flag", isDefault ? "1" : "0");
  if (forced(source)) trackOption(plan.arguments, "--forced-display-flag", "1");
  for (const auto& [flag, option] : kMatroskaFlags) {
    if (flagged(source, flag)) trackOption(plan.arguments, option, "1");
  }
  for (const MadeFile& file : source.files) plan.consumed.push_back(file.name);
  if (cutIntoParts(request, source)) {
    addParts(request, plan, source);
    plan.tracks.push_back(source.group);
    return;
  }
  // PGS and VobSub index count their times from video stream 0 already.
  const int subtitle = subtitleFile(source);
  const std::optional<std::int64_t> delay =
      source.parts.empty() ? source.delayMs : source.parts.front().syncMs;
  if (delay && *delay != 0 && subtitle < 0) {
    trackOption(plan.arguments, "--sync", std::to_string(*delay));
  }
  const int index = std::max(subtitle, 0);
  plan.arguments.push_back(fullPath(source.files.at(static_cast<std::size_t>(index)).name));
  plan.tracks.push_back(source.group);
}

std::string countLine(std::size_t tracks, std::size_t streams, const std::string& output) {
  std::string line =
      std::to_string(tracks) + " of " + std::to_string(streams) + " streams are in " + output;
  if (tracks < streams) line += "; " + std::to_string(streams - tracks) + " kept beside it";
  return line;
}

}  // namespace

bool safeArgument(const std::string& value) {
  return !value.empty() && value.front() != '-' && value.front() != '@';
}

MuxPlan muxPlan(const MuxRequest& request, const std::vector<MuxSource>& sources) {
  MuxPlan plan;
  plan.arguments = {"-o", fullPath(request.output)};
  if (safeArgument(request.title)) {
    plan.arguments.insert(plan.arguments.end(), {"--title", request.title});
  } else {
    plan.titleAfter = request.title;
  }
  if (!request.chapters.empty()) {
    plan.arguments.insert(plan.arguments.end(), {"--chapters", fullPath(request.chapters)});
  }
  std::size_t streams = 0;
  DefaultTracks defaults;
  for (MuxSource source : sources) {
    if (source.files.empty()) continue;  // its stream never came: nothing was made
    ++streams;
    const std::string why = whyLeftOut(source, request.output);
    if (source.group == StreamGroup::Video && source.language.empty()) {
      source.language = request.videoLanguage;
    }
    if (why.empty()) {
      addTrack(request, plan, source, defaults.takes(source));
    } else {
      plan.notes.push_back(why);
    }
  }
  plan.count = countLine(plan.tracks.size(), streams, fileNamePart(request.output));
  return plan;
}

}  // namespace tessaly
