#include "mux/mux_plan.h"

#include <algorithm>

#include "engine/codecs.h"
#include "platform/files.h"
#include "platform/paths.h"

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

// Why the output stays out of the Matroska file; empty when it goes in.
std::string whyLeftOut(const MuxSource& source, const std::string& output) {
  const std::string& name = source.files.front().name;
  if (source.empty) return "Not muxed: " + name + " is empty.";
  if (fileIn(source, FileForm::HdSup) >= 0) {
    return "Kept beside " + fileNamePart(output) + ": " + name +
           " (Matroska has no codec for HD-DVD SUP subtitles).";
  }
  if (source.group == StreamGroup::Sub && fileIn(source, FileForm::VobSubIndex) < 0) {
    return "Not muxed: " + name + " (Matroska has no codec for HD DVD subpictures).";
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

void addTrack(MuxPlan& plan, const MuxSource& source) {
  trackOption(plan.arguments, "--language", source.language);
  trackOption(plan.arguments, "--track-name", source.name);
  // A VobSub index counts its times from video stream 0 already.
  const bool timedFromVideo = fileIn(source, FileForm::VobSubIndex) >= 0;
  if (source.delayMs && *source.delayMs != 0 && !timedFromVideo) {
    trackOption(plan.arguments, "--sync", std::to_string(*source.delayMs));
  }
  const int index = timedFromVideo ? fileIn(source, FileForm::VobSubIndex) : 0;
  plan.arguments.push_back(fullPath(source.files.at(static_cast<std::size_t>(index)).name));
  for (const MadeFile& file : source.files) plan.consumed.push_back(file.name);
  plan.tracks.push_back(source.group);
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
  for (const MuxSource& source : sources) {
    if (source.files.empty()) continue;  // its stream never came: nothing was made
    const std::string why = whyLeftOut(source, request.output);
    if (why.empty()) {
      addTrack(plan, source);
    } else {
      plan.notes.push_back(why);
    }
  }
  return plan;
}

}  // namespace tessaly
