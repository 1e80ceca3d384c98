// A JobObserver that records what a job of the core told it and answers from a script:
// the tests' front end.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/job_observer.h"

namespace tessaly::testing {

class RecordingObserver : public JobObserver {
 public:
  void log(const std::string& line) override { logged.push_back(line); }
  void status(int panel, const std::string& text) override { statuses.emplace_back(panel, text); }
  void breathe() override {
    ++breaths;
    if (onBreath) onBreath();
  }
  void repaint() override { ++repaints; }
  bool stopRequested() override { return stop; }
  void stoppableBegins(bool isWriting) override {
    stoppable = true;
    writing = isWriting;
  }
  void stoppableEnds() override { stoppable = false; }
  bool continueWith(const std::string& segment) override {
    asked.push_back(segment);
    return goOn;
  }

  std::vector<std::string> logged;
  std::vector<std::pair<int, std::string>> statuses;  // panel and text, in order
  int breaths = 0;
  int repaints = 0;
  bool stoppable = false;          // a stoppable stretch began and did not end normally
  bool writing = false;            // the last one that began was a writing pass
  std::vector<std::string> asked;  // the segments continueWith() was asked about

  bool stop = false;               // stopRequested()'s answer
  bool goOn = true;                // continueWith()'s answer
  std::function<void()> onBreath;  // runs at every breath, as a window event would
};

}  // namespace tessaly::testing
