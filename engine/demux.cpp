#include "engine/demux.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "engine/pes_walker.h"
#include "engine/progress.h"
#include "engine/stream_ids.h"
#include "shell/error.h"
#include "shell/report.h"

namespace tessaly {
namespace {

constexpr std::int64_t kProgressStep = 4194304;      // 4 MiB: status text and window events
constexpr std::int64_t kRepaintStep = 67108864;      // 64 MiB: whole-window repaint
constexpr std::int64_t kFastCheckLimit = 300000000;  // scanning with cbFastCheck stops past it

// "It contains V video stream(s) and A audio stream(s)." from the system header that
// follows the pack header at the start of the file.
std::string summaryLine(const std::vector<std::uint8_t>& buffer) {
  const int video = buffer[ps::kVideoBoundByte] & ps::kVideoBoundMask;
  const int audio = buffer[ps::kAudioBoundByte] >> 2;
  return "It contains " + std::to_string(video) + " video stream" + (video > 1 ? "s" : "") +
         " and " + std::to_string(audio) + " audio stream" + (audio > 1 ? "s." : ".");
}

bool startsWithSystemHeader(const std::vector<std::uint8_t>& buffer) {
  return buffer[ps::kSystemHeaderId] == 0x01 &&
         buffer[ps::kSystemHeaderId + 1] == ps::kSystemHeaderCode;
}

// Reads the next chunk into ReadBuffer. A read that returns nothing before the end of
// the file would never advance, so it ends the pass as a read error.
std::size_t readChunk(Session& session) {
  InputFile& input = *session.InputStream;
  const std::size_t size = std::min(session.ReadBuffer.size(), kReadBufferSize);
  const std::size_t count = input.read(session.ReadBuffer.data(), size);
  if (count == 0) throw Error("Stream read error");
  return count;
}

// The chunk loop's steps between the read and the walk.
void afterRead(Session& session, int mode, const PassClock& clock) {
  const InputFile& input = *session.InputStream;
  const std::int64_t position = input.position();
  if (position % kProgressStep == 0) {
    // One clock reading for both terms, so a file read at once shows one second left.
    const double left = remainingSeconds(clock.elapsed(), input.size(), position);
    slog(session,
         progressText(mode != 0, input.path(), position, input.size(), remainingTimeText(left)), 1);
    session.host.processMessages();
  }
  if (mode == 0 && session.fMain.cbFastCheck.ticked && position > kFastCheckLimit) {
    session.StopRequested = true;
  }
  if (position % kRepaintStep == 0) session.host.repaint();
  if (position == static_cast<std::int64_t>(kReadBufferSize) &&
      startsWithSystemHeader(session.ReadBuffer)) {
    log(session, summaryLine(session.ReadBuffer));
  }
}

}  // namespace

void demux(Session& session, int mode) {
  if (!session.InputStream) throw std::logic_error("demux without an open InputStream");
  session.fMain.bCancel.enabled = true;
  session.StopRequested = false;
  session.Writing = mode == 1;
  const PassClock clock;
  PesWalker walker(session, mode);
  session.StreamTable.reset();
  const InputFile& input = *session.InputStream;
  while (input.position() < input.size() && !session.StopRequested) {
    const std::size_t count = readChunk(session);
    afterRead(session, mode, clock);
    walker.feed(session.ReadBuffer.data(), count);
  }
  if (const std::uint64_t scrambled = walker.state().Scrambled; scrambled > 0) {
    log(session, "Warning: " + std::to_string(scrambled) +
                     " packets are scrambled; their streams are still encrypted.");
  }
  session.fMain.bCancel.enabled = false;
}

}  // namespace tessaly
