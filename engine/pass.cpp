#include "engine/pass.h"

#include <span>
#include <string>

#include "engine/pes_walker.h"
#include "engine/progress.h"
#include "engine/stream_ids.h"

namespace tessaly {
namespace {

constexpr std::size_t kChunkSize = 32768;            // the unit of the stop test and progress
constexpr std::int64_t kProgressStep = 4194304;      // 4 MiB: a progress point
constexpr std::int64_t kFastCheckLimit = 300000000;  // a fast scan stops past it

bool startsWithSystemHeader(std::span<const std::uint8_t> chunk) {
  return chunk[ps::kSystemHeaderId] == 0x01 &&
         chunk[ps::kSystemHeaderId + 1] == ps::kSystemHeaderCode;
}

// "It contains V video stream(s) and A audio stream(s)." from the system header that
// follows the pack header at the start of the file.
std::string summaryLine(std::span<const std::uint8_t> chunk) {
  const int video = chunk[ps::kVideoBoundByte] & ps::kVideoBoundMask;
  const int audio = chunk[ps::kAudioBoundByte] >> 2;
  return "It contains " + std::to_string(video) + " video stream" + (video > 1 ? "s" : "") +
         " and " + std::to_string(audio) + " audio stream" + (audio > 1 ? "s." : ".");
}

// The chunk loop's steps between the read and the walk; true when this chunk passes the
// fast-check limit.
bool afterRead(const PassInput& input, std::span<const std::uint8_t> chunk,
               const PassOptions& options, const PassClock& clock, PassObserver& observer) {
  const std::int64_t position = input.position();
  if (position % kProgressStep == 0) observer.progress({position, input.size(), clock.elapsed()});
  if (position == static_cast<std::int64_t>(kChunkSize) && startsWithSystemHeader(chunk)) {
    observer.passLine(summaryLine(chunk));
  }
  return options.fastCheck && position > kFastCheckLimit &&
         position - static_cast<std::int64_t>(chunk.size()) <= kFastCheckLimit;
}

}  // namespace

PassResult runPass(PassInput& input, SlotTable& table, const PassOptions& options,
                   PassObserver& observer) {
  const PassClock clock;
  PesWalker walker(table, observer, options.mode, options.routing);
  table.reset();
  PassResult result;
  while (input.position() < input.size()) {
    if (observer.shouldStop()) {
      result.end = PassEnd::Stopped;
      break;
    }
    // A read that returns nothing before the end of the file would never advance.
    const std::span<const std::uint8_t> chunk = input.next(kChunkSize);
    if (chunk.empty()) throw readError(input.path(), "the file is shorter than when it was opened");
    const bool limit = afterRead(input, chunk, options, clock, observer);
    walker.feed(chunk.data(), chunk.size());
    if (!limit) continue;
    if (options.mode == PassMode::Scan) {
      result.end = PassEnd::FastCheckLimit;
      break;
    }
    observer.fastCheckLimitPassed();
  }
  result.scrambled = walker.state().Scrambled;
  if (result.scrambled > 0) observer.passLine(scrambledWarning(result.scrambled));
  return result;
}

std::string scrambledWarning(std::uint64_t packets) {
  return "Warning: " + std::to_string(packets) +
         " packets are scrambled; their streams are still encrypted.";
}

}  // namespace tessaly
