#include "job/job_outputs.h"

#include <algorithm>

#include "catalogue/catalogue.h"
#include "engine/codecs.h"
#include "job/first_packet_output.h"
#include "job/output_names.h"
#include "job/timed_subpictures.h"
#include "job/wav_writer.h"
#include "shell/report.h"

namespace tessaly {
namespace {

constexpr const char* kWavExtension = "wav";

StreamGroup groupOf(int slot) {
  return groupOfSlot(slot)->group;
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
  OutputMaker(Session& s, int slot, std::string base, std::string caption, OutputForms forms)
      : s_(s), slot_(slot), base_(std::move(base)), caption_(std::move(caption)), forms_(forms) {}

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
      log(s_, "Audio stream " + std::to_string(number()) +
                  ": its LPCM format bytes name no sample size; it is written as it is.");
    }
    const std::string name = format ? outputName(base_, caption_, kWavExtension) : nameFor(packet);
    auto file = std::make_unique<OutputFile>(name);
    noteCreated(s_, slot_, name, format ? FileForm::Wav : FileForm::Raw);
    if (!format) return file;
    return std::make_unique<WavWriter>(std::move(file), *format, number());
  }

 private:
  bool wav() const {
    return forms_.lpcm == LpcmOutputs::Wav && groupOf(slot_) == StreamGroup::Audio;
  }
  int number() const { return slot_ - groupOfSlot(slot_)->firstSlot; }
  std::string editExtension() const { return extensionEdit(s_.fMain, slot_).text; }
  std::string byCaption() const { return outputName(base_, caption_, editExtension()); }

  std::string nameFor(const OutputPacket& packet) const {
    const Codec* codec = packetCodec(packet);
    if (forms_.names == OutputNames::Described || !codec) return byCaption();
    return outputName(base_, caption_, codec->extension);
  }

  Session& s_;
  int slot_;
  std::string base_;
  std::string caption_;
  OutputForms forms_;
};

PlannedOutput timedPlan(Session& s, int slot, const std::string& base, const CheckBox& box) {
  const TimedNames names = timedNames(base, box.caption);
  return {slot, {names.sup, names.idx, names.sub}, [&s, slot, names] {
            return timedSubpictureOutput(s, slot, names);
          }};
}

// Named by codec, or LPCM as WAV: the stream's first packet decides.
PlannedOutput firstPacketPlan(Session& s, int slot, const std::string& base, const CheckBox& box,
                              OutputForms forms) {
  auto maker = std::make_shared<OutputMaker>(s, slot, base, box.caption, forms);
  return {slot, maker->names(), [maker] {
            return std::make_unique<FirstPacketOutput>(
                [maker](const OutputPacket& packet) { return maker->make(packet); });
          }};
}

// Created at once, with the extension given.
PlannedOutput atOncePlan(Session& s, int slot, const std::string& base, const CheckBox& box,
                         const std::string& extension) {
  const std::string name = outputName(base, box.caption, extension);
  return {slot, {name}, [&s, slot, name]() -> std::unique_ptr<StreamOutput> {
            auto file = std::make_unique<OutputFile>(name);
            noteCreated(s, slot, name, FileForm::Raw);
            return file;
          }};
}

PlannedOutput plan(Session& s, int slot, const std::string& base, const OutputForms& forms) {
  const CheckBox& box = slotBox(s.fMain, slot);
  const StreamGroup group = groupOf(slot);
  const std::string edited = extensionEdit(s.fMain, slot).text;
  if (group == StreamGroup::Sub) {
    if (forms.subpictures == SubpictureOutputs::Timed) return timedPlan(s, slot, base, box);
    // Both subpicture codecs go by one extension: no need to wait for the first packet.
    if (forms.names == OutputNames::Described) return atOncePlan(s, slot, base, box, edited);
    return atOncePlan(s, slot, base, box, codecOf(group, ps::kSubpicture)->extension);
  }
  const bool wavMayChange = forms.lpcm == LpcmOutputs::Wav && group == StreamGroup::Audio;
  if (forms.names == OutputNames::Codec || wavMayChange) {
    return firstPacketPlan(s, slot, base, box, forms);
  }
  return atOncePlan(s, slot, base, box, edited);
}

}  // namespace

OutputForms outputForms(const Session& s) {
  if (!s.fMain.cbForTools.ticked) return {s.Names, s.Lpcm, s.SubOutputs};
  return {OutputNames::Codec, LpcmOutputs::Wav, SubpictureOutputs::Timed};
}

std::vector<PlannedOutput> plannedOutputs(Session& s, const std::string& base) {
  const OutputForms forms = outputForms(s);
  std::vector<PlannedOutput> outputs;
  for (int slot : OutputSet::jobOrder()) {
    // Ticked decides, whatever the box's state or caption.
    if (slotBox(s.fMain, slot).ticked) outputs.push_back(plan(s, slot, base, forms));
  }
  return outputs;
}

void noteCreated(Session& s, int slot, const std::string& name, FileForm form) {
  s.Made.push_back({slot, name, form});
  s.Found.outputs.emplace(slot, name);  // the report names a stream's first file
  log(s, "Creating " + name);
}

}  // namespace tessaly
