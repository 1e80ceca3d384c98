#include "engine/shared_outputs.h"

#include <algorithm>

#include "engine/output_keys.h"

namespace tessaly {
namespace {

// "A", "A and B", "A, B and C": the codings named as their registration lines name them.
std::string codingList(const std::vector<AudioCoding>& codings) {
  std::string text;
  for (std::size_t n = 0; n < codings.size(); ++n) {
    if (n > 0) text += n + 1 == codings.size() ? " and " : ", ";
    text += audioCodec(codings[n]).name;
  }
  return text;
}

}  // namespace

void SharedOutputs::add(const PacketStart& p) {
  const bool audio = p.kind == PacketKind::Audio;
  const bool mpegRun = p.kind == PacketKind::MpegAudio && p.payload > 0;
  if ((!audio && !mpegRun) || p.slot == 0) return;  // slot 0: no audio number yet
  if (isRoutedKey(p.route)) return;                 // routed by sub-stream id: none shared
  const auto number = static_cast<std::size_t>(p.slot - kAudioSlot);
  if (mpegRun) {
    mpegAudio_.at(number) = true;
    return;
  }
  auto& codings = codings_.at(number);
  if (std::find(codings.begin(), codings.end(), p.coding) == codings.end()) {
    codings.push_back(p.coding);
  }
}

std::vector<std::string> SharedOutputs::warnings() const {
  std::vector<std::string> lines;
  for (std::size_t n = 0; n < kNumbers; ++n) {
    if (codings_[n].size() < 2) continue;
    lines.push_back("Warning: audio stream " + std::to_string(n) + " carries " +
                    codingList(codings_[n]) + " packets; they share one output.");
  }
  for (std::size_t n = 0; n < kNumbers; ++n) {
    if (!mpegAudio_[n]) continue;
    lines.push_back("Warning: MPEG audio packets follow audio stream " + std::to_string(n) +
                    "; they share its output.");
  }
  return lines;
}

}  // namespace tessaly
