#include "job/job_outputs.h"

#include <algorithm>

#include "engine/codecs.h"
#include "job/first_packet_output.h"
#include "job/output_names.h"
#include "job/raw_output.h"
#include "job/timed_subpictures.h"
#include "job/unit_tally.h"
#include "job/vobsub_writer.h"
#include "job/wav_writer.h"

namespace tessaly {
namespace {

constexpr const char* kWavExtension = "wav";

// The group of an output key's stream.
StreamGroup groupOf(int key) {
  return groupOfSlot(keySlot(key))->group;
}

const Codec* packetCodec(const OutputPacket& packet) {
  return packet.codec < 0 ? nullptr : &kCodecs.at(static_cast<std::size_t>(packet.codec));
}

bool isLpcm(const OutputPacket& packet) {
  return packetCodec(packet) == &audioCodec(AudioCoding::Lpcm);
}

// How the first packet of a stream has its output made.
class OutputMaker {
 public:
  OutputMaker(OutputContext& context, int slot, std::string caption)
      : context_(context),
        slot_(slot),
        base_(context.outputBase()),
        caption_(std::move(caption)),
        forms_(context.forms()) {}

  // Every name the output may take: by codec, one per codec of its group and the
  // caption's name for packets without a codec (MPEG audio).
  std::vector<std::string> names() const {
    if (forms_.names == OutputNames::Described) return {byCaption()};
    std::vector<std::string> names;
    const auto add = [&](const std::string& extension) {
      const std::string name = outputName(base_, caption_, extension);
      if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    };
    for (const Codec& codec : kCodecs) {
      if (codec.group != groupOf(slot_)) continue;
      add(codec.extension);
      if (codec.coding == AudioCoding::Lpcm && wav()) add(kWavExtension);
    }
    add(editExtension());
    return names;
  }

  std::unique_ptr<StreamOutput> make(const OutputPacket& packet) const {
    const auto format = isLpcm(packet) && wav() ? lpcmFormat(packet.lpcmFormat) : std::nullopt;
    if (isLpcm(packet) && wav() && !format) {
      context_.observer().log("Audio stream " + std::to_string(number()) +
                              ": its LPCM format bytes name no sample size; it is written as it "
                              "is.");
    }
    const std::string name = format ? outputName(base_, caption_, kWavExtension) : nameFor(packet);
    if (!format) {
      auto file = std::make_unique<RawOutput>(name);
      context_.created(slot_, name, FileForm::Raw);
      return file;
    }
    auto file = std::make_unique<OutputFile>(name);
    context_.created(slot_, name, FileForm::Wav);
    return std::make_unique<WavWriter>(std::move(file), *format, number());
  }

 private:
  bool wav() const {
    return forms_.lpcm == LpcmOutputs::Wav && groupOf(slot_) == StreamGroup::Audio;
  }
  int number() const { return keySlot(slot_) - groupOfSlot(keySlot(slot_))->firstSlot; }
  std::string editExtension() const { return context_.extension(slot_); }
  std::string byCaption() const { return outputName(base_, caption_, editExtension()); }

  std::string nameFor(const OutputPacket& packet) const {
    const Codec* codec = packetCodec(packet);
    if (forms_.names == OutputNames::Described || !codec) return byCaption();
    return outputName(base_, caption_, codec->extension);
  }

  OutputContext& context_;
  int slot_;
  std::string base_;
  std::string caption_;
  OutputForms forms_;
};

// Named by codec, or LPCM that may be a WAV file: the first packet names the output.
bool namedAtFirstPacket(const OutputForms& forms, StreamGroup group) {
  const bool wavMayChange = forms.lpcm == LpcmOutputs::Wav && group == StreamGroup::Audio;
  return forms.names == OutputNames::Codec || wavMayChange;
}

PlannedOutput timedPlan(OutputContext& context, int slot, const std::string& caption) {
  const TimedNames names = timedNames(context.outputBase(), caption, context.forms().subpictures);
  return {slot, {names.hd, names.idx, names.sub}, [&context, slot, names] {
            return timedSubpictureOutput(context, slot, names);
          }};
}

// Named by codec, or LPCM as WAV: the stream's first packet decides.
PlannedOutput firstPacketPlan(OutputContext& context, int slot, const std::string& caption) {
  auto maker = std::make_shared<OutputMaker>(context, slot, caption);
  return {slot, maker->names(), [maker] {
            return std::make_unique<FirstPacketOutput>(
                [maker](const OutputPacket& packet) { return maker->make(packet); });
          }};
}

// Created at once, with the extension given.
PlannedOutput atOncePlan(OutputContext& context, int slot, const std::string& caption,
                         const std::string& extension) {
  const std::string name = outputName(context.outputBase(), caption, extension);
  return {slot, {name}, [&context, slot, name]() -> std::unique_ptr<StreamOutput> {
            auto file = std::make_unique<RawOutput>(name);
            context.created(slot, name, FileForm::Raw);
            return file;
          }};
}

// Units so small that whole packs for each would take more than VobSubWriter::kGrowth
// times the stream's bytes: a timed output would stop early, so the raw one keeps it all.
bool unitsTooSmall(OutputContext& context, int slot, const StreamFacts& scanned) {
  const std::uint64_t packs = scanned.timedPackets * VobSubWriter::kPackSize;
  if (packs <= VobSubWriter::kGrowth * scanned.bytes) return false;
  context.observer().log("Warning: subpicture stream " + std::to_string(slot - kSubSlot) +
                         " has units too small for a timed output (it would take more than " +
                         std::to_string(VobSubWriter::kGrowth) +
                         " times the stream's bytes); it is written as it is.");
  return true;
}

PlannedOutput formedPlan(OutputContext& context, int slot, const std::string& caption) {
  const OutputForms& forms = context.forms();
  const StreamGroup group = groupOf(slot);
  context.captioned(slot, caption);
  const std::string& extension = context.extension(slot);
  if (!captionFits(context.outputBase(), caption, extension)) {
    context.observer().log("Output name shortened to fit the folder's limit: " +
                           outputName(context.outputBase(), caption, extension));
  }
  if (group == StreamGroup::Sub) {
    if (forms.subpictures != SubpictureOutputs::Raw &&
        !unitsTooSmall(context, slot, context.scanned(slot))) {
      return timedPlan(context, slot, caption);
    }
    // Both subpicture codecs go by one extension: no need to wait for the first packet.
    if (forms.names == OutputNames::Described) {
      return atOncePlan(context, slot, caption, context.extension(slot));
    }
    return atOncePlan(context, slot, caption, codecOf(group, ps::kSubpicture)->extension);
  }
  if (namedAtFirstPacket(forms, group)) {
    return firstPacketPlan(context, slot, caption);
  }
  return atOncePlan(context, slot, caption, context.extension(slot));
}

// The slot whose report entry a routed coding's output also names (the first coding met of
// the number names it); none for MPEG audio and for outputs keyed by their slot.
std::optional<int> numberSlot(int key) {
  if (!isRoutedKey(key) || keySource(key) == kMpegAudioSource) return std::nullopt;
  return keySlot(key);
}

}  // namespace

OutputContext::OutputContext(const DemuxRequest& request, JobObserver& observer,
                             DemuxResult& result, const TimeOrigin& origin)
    : request_(request), observer_(observer), result_(result), origin_(origin) {}

const std::string& OutputContext::extension(int slot) const {
  return request_.extensions.of(groupOf(slot));
}

std::string OutputContext::language(int slot) const {
  const auto found = request_.languages.find(keySlot(slot));
  return found == request_.languages.end() ? std::string() : found->second;
}

void OutputContext::captioned(int slot, const std::string& caption) {
  result_.found.captions.emplace(slot, caption);
  if (const auto entry = numberSlot(slot)) result_.found.captions.emplace(*entry, caption);
}

void OutputContext::created(int slot, const std::string& name, FileForm form) {
  result_.made.push_back({slot, name, form});
  // The report names a stream's first file.
  result_.found.outputs.emplace(slot, name);
  if (const auto entry = numberSlot(slot)) result_.found.outputs.emplace(*entry, name);
  observer_.log("Creating " + name);
}

std::vector<std::string> audioOutputNames(OutputContext& context, int key,
                                          const std::string& caption) {
  if (namedAtFirstPacket(context.forms(), StreamGroup::Audio)) {
    return OutputMaker(context, key, caption).names();
  }
  return {outputName(context.outputBase(), caption, context.extension(key))};
}

PlannedOutput planOutput(OutputContext& context, int slot, const std::string& caption) {
  PlannedOutput plan = formedPlan(context, slot, caption);
  const auto open = plan.open;
  if (slot == kVideoSlot) {
    plan.open = [&context, open] { return std::make_unique<FrameProbe>(open(), context.frame()); };
  }
  if (groupOf(slot) == StreamGroup::Sub) {
    plan.open = [&context, slot, open] {
      const auto tell = [&context, slot](const SubpictureUnits& units) {
        context.unitsCounted(slot, units);
      };
      return std::make_unique<UnitTally>(open(), tell);
    };
  }
  return plan;
}

}  // namespace tessaly
