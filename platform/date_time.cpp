#include "platform/date_time.h"

#include <chrono>

namespace tessaly {
namespace {

namespace chrono = std::chrono;

constexpr double kMillisecondsPerDay = 86'400'000.0;
constexpr chrono::sys_days kDayZero = chrono::year{1899} / chrono::December / 30;

}  // namespace

double dayCount(const std::tm& time, int milliseconds) {
  const chrono::year_month_day date{chrono::year{time.tm_year + 1900},
                                    chrono::month{static_cast<unsigned>(time.tm_mon + 1)},
                                    chrono::day{static_cast<unsigned>(time.tm_mday)}};
  const auto days = (chrono::sys_days{date} - kDayZero).count();
  const auto intoDay =
      ((time.tm_hour * 60L + time.tm_min) * 60L + time.tm_sec) * 1000L + milliseconds;
  return static_cast<double>(days) + static_cast<double>(intoDay) / kMillisecondsPerDay;
}

double localDayCount() {
  const auto now = chrono::system_clock::now();
  const std::time_t seconds = chrono::system_clock::to_time_t(now);
  const auto milliseconds =
      chrono::duration_cast<chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  // The tool has one thread, so the shared result of localtime is safe to use here.
  const std::tm* local = std::localtime(&seconds);
  return local == nullptr ? 0.0 : dayCount(*local, static_cast<int>(milliseconds));
}

}  // namespace tessaly
