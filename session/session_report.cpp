#include "session/session_report.h"

namespace tessaly {

const TitleFacts* chosenTitle(const Session& s) {
  return s.Playlist.titleFor(s.BaseName);
}

JobReport sessionReport(const Session& s) {
  return jobReport(s.Found, chosenTitle(s), s.Playlist.file);
}

}  // namespace tessaly
