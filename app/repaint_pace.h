// How often a busy handler repaints what it reports.
#pragma once

#include <QElapsedTimer>

namespace tessaly::app {

// A handler that reports thousands of times (one log line per track of a long title, one
// status text per 32 KiB of a playlist) would spend most of its time repainting. Its
// reports are painted at once when the last paint is at least kPaceMs old; the others wait
// for the next one that is, or for the end of the handler.
class RepaintPace {
 public:
  static constexpr qint64 kPaceMs = 100;

  // True when a paint now keeps the pace; the caller then paints.
  bool due() const { return !painted_.isValid() || painted_.elapsed() >= kPaceMs; }
  // A paint happened now.
  void painted() { painted_.start(); }

 private:
  QElapsedTimer painted_;
};

}  // namespace tessaly::app
