#include "engine/route.h"

#include <array>

namespace tessaly {
namespace {

// The output of stream `number` among `boxes` whose first slot is `firstSlot`, or
// nullptr when there is none, its box is not ticked, or the entry is closed.
template <std::size_t N>
OutputFile* selectedOutput(Session& session, const std::array<CheckBox, N>& boxes, int firstSlot,
                           std::int32_t number) {
  if (number < 0 || number >= static_cast<std::int32_t>(N)) return nullptr;
  if (!boxes[static_cast<std::size_t>(number)].ticked) return nullptr;
  return session.OutputStreams.find(firstSlot + number);
}

OutputFile* outputOf(Session& session, const PassState& s) {
  auto& w = session.fMain;
  switch (s.Kind) {
    case PacketKind::Video:
      // Only video 0 and 1 have output entries; the boxes cbVideo2..7 receive nothing.
      return s.VideoNo > 1 ? nullptr : selectedOutput(session, w.cbVideo, kVideoSlot, s.VideoNo);
    case PacketKind::Audio:
    case PacketKind::MpegAudio:
      return selectedOutput(session, w.cbAudio, kAudioSlot, s.AudioNo);
    case PacketKind::Subpicture:
      return selectedOutput(session, w.cbSub, kSubSlot, s.SubNo);
    default:
      return nullptr;
  }
}

}  // namespace

void routeRun(Session& session, const PassState& state, const std::uint8_t* run, std::size_t size) {
  if (OutputFile* output = outputOf(session, state)) output->write(run, size);
}

}  // namespace tessaly
