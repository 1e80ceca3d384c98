// Progress of a pass for status panel 1: position, size and the remaining time.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace tessaly {

// Remaining seconds estimated from the elapsed time: elapsed x size / position less
// the elapsed time, plus one second.
double remainingSeconds(double elapsed, std::int64_t size, std::int64_t position);

// A duration as hours, two-digit minutes and two-digit seconds ("0:00:01"); whole hours
// are kept past a day ("25:00:00"). Rounded to the millisecond, then cut to seconds.
std::string remainingTimeText(double seconds);

// "Reading FILE 4/10 Mbytes, Remaining time: 0:00:06" ("Demuxing " when writing).
std::string progressText(bool writing, const std::string& path, std::int64_t position,
                         std::int64_t size, const std::string& remaining);

// The wall clock of one pass, started when it is made.
class PassClock {
 public:
  // Seconds since the pass started.
  double elapsed() const;

 private:
  std::chrono::steady_clock::time_point StartTime = std::chrono::steady_clock::now();
};

}  // namespace tessaly
