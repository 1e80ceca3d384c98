#include "audio/break_words.h"

#include <cstdio>
#include <cstdlib>

#include "engine/pts.h"

namespace tessaly {
namespace {

// H:MM:SS.mmm, with a minus before a time ahead of the zero.
std::string clockTime(std::int64_t ms) {
  const std::int64_t a = std::abs(ms);
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld:%02lld:%02lld.%03lld", ms < 0 ? "-" : "",
                static_cast<long long>(a / 3600000), static_cast<long long>(a / 60000 % 60),
                static_cast<long long>(a / 1000 % 60), static_cast<long long>(a % 1000));
  return text;
}

// "Warning: audio stream N (CODEC) has ".
std::string audioHead(int number, const std::string& codec) {
  return "Warning: audio stream " + std::to_string(number) + " (" + codec + ") has ";
}

}  // namespace

BreakRecord breakRecord(const AudioBreak& b, std::int64_t zero) {
  return {unitsToMs(b.at - zero), unitsToMs(b.jump), b.framesDropped};
}

std::string breakWarning(int number, const std::string& codec, const BreakRecord& record) {
  const std::string head = audioHead(number, codec);
  const std::string size =
      std::to_string(std::abs(record.jumpMs)) + " ms at " + clockTime(record.atMs);
  if (record.jumpMs >= 0) return head + "a gap of " + size + "; the Matroska file keeps it.";
  const std::string frames =
      std::to_string(record.framesDropped) + (record.framesDropped == 1 ? " frame" : " frames");
  return head + "an overlap of " + size + "; " + frames + " left out.";
}

std::string moreBreaksWarning(int number, const std::string& codec, std::size_t more) {
  return audioHead(number, codec) + std::to_string(more) +
         " more breaks; the Matroska file keeps them all.";
}

BreakRecord videoBreakRecord(const VideoTiming& timing, const VideoDisagreement& d,
                             std::uint64_t zeroPts) {
  const std::int64_t zero =
      ticksToUnits(stampDistance(timing.anchorPts.value_or(zeroPts), zeroPts));
  return {unitsToMs(d.at - zero), unitsToMs(d.jump), 0};
}

std::string videoBreakWarning(int number, const std::string& codec, const BreakRecord& record) {
  return "Warning: video stream " + std::to_string(number) + " (" + codec +
         ") has time stamps that jump " + (record.jumpMs >= 0 ? "ahead" : "back") + " by " +
         std::to_string(std::abs(record.jumpMs)) + " ms at " + clockTime(record.atMs) +
         "; the Matroska file plays its pictures on without the jump.";
}

}  // namespace tessaly
