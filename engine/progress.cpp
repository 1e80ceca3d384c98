#include "engine/progress.h"

#include <cmath>
#include <cstdio>

namespace tessaly {
namespace {

constexpr std::int64_t kMebibyte = 1048576;

}  // namespace

double remainingSeconds(double elapsed, std::int64_t size, std::int64_t position) {
  if (position <= 0) return 1.0;
  const long double total = static_cast<long double>(elapsed) * size / position;
  return static_cast<double>(total - elapsed + 1.0L);
}

std::string remainingTimeText(double seconds) {
  const long long millis = seconds > 0 ? std::llround(seconds * 1000.0) : 0;
  const long long whole = millis / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
  return text;
}

std::string progressText(bool writing, const std::string& path, std::int64_t position,
                         std::int64_t size, const std::string& remaining) {
  const std::string name = path.substr(path.find_last_of('/') + 1);
  return (writing ? "Demuxing " : "Reading ") + name + " " + std::to_string(position / kMebibyte) +
         "/" + std::to_string(size / kMebibyte) + " Mbytes, Remaining time: " + remaining;
}

double PassClock::elapsed() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - StartTime).count();
}

}  // namespace tessaly
