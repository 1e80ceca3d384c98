#include "engine/pes_walker.h"

#include <algorithm>
#include <array>

#include "engine/stream_ids.h"

namespace tessaly {
namespace {

// The kind each recognised stream id gives its packet; None for every other id.
constexpr std::array<PacketKind, 256> kStartKinds = [] {
  std::array<PacketKind, 256> kinds{};
  for (int id = ps::kMpeg2VideoFirst; id <= ps::kH264VideoLast; ++id) kinds[id] = PacketKind::Video;
  kinds[ps::kExtendedStreamId] = PacketKind::Video;
  for (int id = ps::kMpegAudioFirst; id <= ps::kMpegAudioLast; ++id) {
    kinds[id] = PacketKind::MpegAudio;
  }
  kinds[ps::kPrivateStream1] = PacketKind::PrivateStream1;
  kinds[ps::kProgramStreamMap] = PacketKind::Skipped;
  kinds[ps::kPadding] = PacketKind::Skipped;
  kinds[ps::kPrivateStream2] = PacketKind::Skipped;
  return kinds;
}();

bool isStartCode(std::uint32_t window) {
  return (window >> 8) == ps::kStartCodePrefix && kStartKinds[window & 0xFF] != PacketKind::None;
}

// The slot of stream `number` in `group`, or 0 while the number is unknown.
int slotOf(StreamGroup group, std::int32_t number) {
  return number < 0 ? 0 : slotGroup(group).firstSlot + number;
}

// The slot whose output a packet's payload belongs to; 0 for kinds that are never written.
int payloadSlot(const PassState& s) {
  switch (s.Kind) {
    case PacketKind::Video:
      return slotOf(StreamGroup::Video, s.VideoNo);
    case PacketKind::Audio:
    case PacketKind::MpegAudio:
      return slotOf(StreamGroup::Audio, s.AudioNo);
    case PacketKind::Subpicture:
      return slotOf(StreamGroup::Sub, s.SubNo);
    default:
      return 0;
  }
}

}  // namespace

PesWalker::PesWalker(SlotTable& table, PassObserver& observer, PassMode mode, Routing routing)
    : observer_(observer),
      registry_(table, observer),
      writing_(mode == PassMode::Write),
      routing_(routing) {}

void PesWalker::feed(const std::uint8_t* data, std::size_t count) {
  std::size_t i = 0;
  while (i < count) {
    s_.Window = (s_.Window << 8) | data[i];
    if (s_.InPayload) {
      i += payloadStep(data + i, count - i);  // an empty payload re-dispatches this byte
    } else if (s_.SkipLeft > 0) {
      i += skipStep(data, i, count);
    } else if (isStartCode(s_.Window)) {
      startCode(static_cast<std::uint8_t>(s_.Window));
      ++i;
    } else if (headerStep(data[i])) {
      ++i;
    } else {
      i = passOver(data, i, count);
    }
  }
}

// With every counter at 0, bytes are passed over until one completes a recognised
// start code; returns that byte's index (not yet in Window) or the end of the data.
std::size_t PesWalker::passOver(const std::uint8_t* data, std::size_t i, std::size_t count) {
  const std::size_t from = i;
  std::size_t at = i + 1;
  // The first two candidates still need bytes from Window.
  for (std::uint32_t window = s_.Window; at < count && at < i + 3; ++at) {
    if (isStartCode((window << 8) | data[at])) return keepLastBytes(data, from, at);
    window = (window << 8) | data[at];
  }
  // A start code's 01 byte follows two zeros: where a byte is not 0, neither it nor
  // the next two bytes can be that 01.
  while (at < count) {
    const std::uint8_t before = data[at - 1];
    if (before == 0) {
      ++at;
      continue;
    }
    if (before == 1 && data[at - 2] == 0 && data[at - 3] == 0 &&
        kStartKinds[data[at]] != PacketKind::None) {
      break;
    }
    at += 3;
  }
  return keepLastBytes(data, from, std::min(at, count));
}

// Window after the bytes from + 1 .. end - 1 were passed over.
std::size_t PesWalker::keepLastBytes(const std::uint8_t* data, std::size_t from, std::size_t end) {
  for (std::size_t j = std::max(from + 1, end < 4 ? 0 : end - 4); j < end; ++j) {
    s_.Window = (s_.Window << 8) | data[j];
  }
  return end;
}

// Consumes the payload up to the packet's or the chunk's end in one step; only the
// run's first byte has entered Window.
std::size_t PesWalker::payloadStep(const std::uint8_t* at, std::size_t available) {
  const std::size_t left = s_.PacketLeft > 0 ? static_cast<std::size_t>(s_.PacketLeft) : 0;
  const std::size_t run = std::min(left, available);
  if (run == 0) {
    s_.InPayload = false;
    return 0;
  }
  if (writing_ && s_.Packet.route != 0) {
    if (PayloadSink* sink = observer_.payloadRun(s_.Packet.route)) sink->write(at, run);
  }
  s_.PacketLeft -= static_cast<std::int32_t>(run);
  if (s_.PacketLeft == 0) s_.InPayload = false;
  return run;
}

// Passes over the body of a Skipped packet up to its or the chunk's end. Every byte
// passed over enters Window, so Window ends holding the last four of them.
std::size_t PesWalker::skipStep(const std::uint8_t* data, std::size_t i, std::size_t count) {
  const std::size_t end =
      i + std::min<std::size_t>(static_cast<std::size_t>(s_.SkipLeft), count - i);
  for (std::size_t j = std::max(i + 1, end < 4 ? 0 : end - 4); j < end; ++j) {
    s_.Window = (s_.Window << 8) | data[j];
  }
  const auto run = static_cast<std::int32_t>(end - i);
  s_.PacketLeft -= run;
  s_.SkipLeft -= run;
  return end - i;
}

void PesWalker::startCode(std::uint8_t streamId) {
  s_.Packet = {};
  s_.Packet.streamId = streamId;
  s_.Kind = kStartKinds[streamId];
  if (streamId >= ps::kMpeg2VideoFirst && streamId <= ps::kH264VideoLast) {
    identifyVideo(s_, registry_, streamId);
  }
  s_.LengthBytes = ps::kLengthBytes;
}

// A header that runs past the packet's length field ends the packet: nothing more of
// it is read as header, and none of it is written.
void PesWalker::endPacket() {
  s_.FixedLeft = s_.HeaderLeft = s_.SubHeaderLeft = s_.LpcmLeft = 0;
  s_.PtsLeft = s_.PtsDtsLeft = s_.ExtFlagsLeft = s_.PstdLeft = s_.Ext2Left = s_.MlpLeft = 0;
  s_.PacketLeft = 0;
  s_.InPayload = false;
}

// The header step due: the first non-zero counter, in the order of the header's fields.
PesWalker::Step PesWalker::nextStep() const {
  if (s_.FixedLeft > 0) return Step::Fixed;
  if (s_.PtsLeft > 0) return Step::Pts;
  if (s_.PtsDtsLeft > 0) return Step::PtsDts;
  if (s_.ExtFlagsLeft > 0) return Step::ExtFlags;
  if (s_.PstdLeft > 0) return Step::Pstd;
  if (s_.Ext2Left > 0) return Step::Ext2;
  if (s_.HeaderLeft > 0) return Step::Remainder;
  if (s_.SubHeaderLeft > 0) return Step::SubHeader;
  if (s_.LpcmLeft > 0) return Step::Lpcm;
  if (s_.MlpLeft > 0) return Step::Mlp;
  return Step::None;
}

// Hands the byte to the length step or the header step due; false when no step is
// due and the byte is passed over.
bool PesWalker::headerStep(std::uint8_t byte) {
  if (s_.LengthBytes > 0) {
    lengthStep();
    return true;
  }
  const Step step = nextStep();
  if (step == Step::None) return false;
  if (s_.PacketLeft <= 0) {
    endPacket();
    return true;
  }
  --s_.PacketLeft;
  runStep(step, byte);
  if (s_.InPayload) packetStarted();
  return true;
}

// The header is walked: the packet's kind and stream are settled before its payload.
void PesWalker::packetStarted() {
  PacketStart& packet = s_.Packet;
  packet.kind = s_.Kind;
  packet.slot = payloadSlot(s_);
  packet.coding = s_.AudioSort;
  packet.route = routeOf(packet, routing_);
  packet.payload = s_.PacketLeft;
  observer_.packetStart(packet);
}

void PesWalker::runStep(Step step, std::uint8_t byte) {
  switch (step) {
    case Step::Fixed:
      fixedStep(byte);
      break;
    case Step::Pts:
      timeStampStep(s_.PtsLeft, byte);
      break;
    case Step::PtsDts:
      timeStampStep(s_.PtsDtsLeft, byte);
      break;
    case Step::ExtFlags:
      extFlagsStep(byte);
      break;
    case Step::Pstd:
      pstdStep();
      break;
    case Step::Ext2:
      ext2Step(byte);
      break;
    case Step::Remainder:
      remainderStep();
      break;
    case Step::SubHeader:
      subHeaderStep(s_, registry_, byte);
      break;
    case Step::Lpcm:
      lpcmStep(s_, byte);
      break;
    case Step::Mlp:
      mlpStep(s_);
      break;
    case Step::None:
      break;
  }
}

void PesWalker::lengthStep() {
  if (--s_.LengthBytes > 0) return;
  s_.PacketLeft = static_cast<std::int32_t>(s_.Window & 0xFFFF);
  if (s_.Kind == PacketKind::Skipped) {
    s_.SkipLeft = s_.PacketLeft;  // the body is passed over without a start-code search
  } else {
    s_.FixedLeft = ps::kFixedBytes;
  }
}

void PesWalker::fixedStep(std::uint8_t byte) {
  --s_.FixedLeft;
  // Scrambled packets are walked like any other; their count warns at the pass end.
  if (s_.FixedLeft == 2 && (byte & ps::kScramblingMask) != 0) ++s_.Scrambled;
  if (s_.FixedLeft == 1) s_.PesFlags = byte;
  if (s_.FixedLeft != 0) return;
  s_.HeaderLeft = byte;
  const std::uint8_t stamps = s_.PesFlags & ps::kPtsDtsMask;
  if (stamps == ps::kPtsOnly) s_.PtsLeft = ps::kPtsBytes;
  if (stamps == ps::kPtsAndDts) s_.PtsDtsLeft = ps::kPtsDtsBytes;
  if ((s_.PesFlags & ps::kTimeStampMask) == ps::kPesExtension) s_.ExtFlagsLeft = 1;
  if (s_.HeaderLeft == 0) headerEnd();
}

// A PTS field, or a PTS and a DTS field: each stamp is kept when its fifth byte is in.
void PesWalker::timeStampStep(std::uint32_t& left, std::uint8_t byte) {
  --s_.HeaderLeft;
  s_.StampBytes = (s_.StampBytes << 8) | byte;
  if (--left % ps::kPtsBytes == 0) {
    const bool dts = &left == &s_.PtsDtsLeft && left == 0;
    (dts ? s_.Packet.dts : s_.Packet.pts) = ps::timeStamp(s_.StampBytes);
    (dts ? s_.Packet.hasDts : s_.Packet.hasPts) = true;
  }
  if (left != 0) return;
  if (s_.HeaderLeft == 0) {
    headerEnd();
  } else if (s_.Kind == PacketKind::Video && (s_.PesFlags & ps::kPesExtension)) {
    s_.ExtFlagsLeft = 1;
  }
}

// The end of the header is not tested here: the fields the flags announce follow.
void PesWalker::extFlagsStep(std::uint8_t byte) {
  --s_.HeaderLeft;
  s_.ExtFlagsLeft = 0;
  s_.ExtFlags = byte;
  if (s_.ExtFlags & ps::kPstdFlag) {
    s_.PstdLeft = ps::kPstdBytes;
  } else if (s_.ExtFlags & ps::kExtension2Flag) {
    s_.Ext2Left = ps::kExtension2Bytes;
  }
}

void PesWalker::pstdStep() {
  --s_.HeaderLeft;
  if (--s_.PstdLeft != 0) return;
  if (s_.ExtFlags & ps::kExtension2Flag) {
    s_.Ext2Left = ps::kExtension2Bytes;
  } else if (s_.HeaderLeft == 0) {
    s_.InPayload = true;
  }
}

void PesWalker::ext2Step(std::uint8_t byte) {
  --s_.HeaderLeft;
  if (--s_.Ext2Left != 0) return;
  identifyExtension(s_, registry_, byte & ps::kExtensionIdMask);
  if (s_.HeaderLeft == 0) s_.InPayload = true;
}

// Stuffing and the optional fields no step reads.
void PesWalker::remainderStep() {
  if (--s_.HeaderLeft == 0) headerEnd();
}

void PesWalker::headerEnd() {
  if (s_.Kind == PacketKind::PrivateStream1) {
    s_.SubHeaderLeft = ps::kSubHeaderBytes;
  } else {
    s_.InPayload = true;
  }
}

}  // namespace tessaly
