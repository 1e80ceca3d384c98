#include "playlist/clip_chapters.h"

#include <algorithm>
#include <cstdint>

#include "platform/paths.h"

namespace tessaly {
namespace {

// FEATURE_1 for file:///dvddisc/HVDVD_TS/FEATURE_1.MAP.
std::string clipName(const std::string& src) {
  const std::string file = fileNamePart(src);
  return file.substr(0, file.rfind('.'));
}

struct Span {
  std::int64_t beginMs = -1;
  std::int64_t endMs = -1;
};

// From the first named clip's begin to the last one's end; begin -1 when none is timed.
Span spanOf(const std::vector<ClipFact>& clips, const std::vector<std::string>& clipNames) {
  Span span;
  for (const ClipFact& clip : clips) {
    const std::string name = clipName(clip.src);
    const bool named = std::find(clipNames.begin(), clipNames.end(), name) != clipNames.end();
    if (!named || clip.beginMs < 0 || clip.endMs < clip.beginMs) continue;
    span.beginMs = span.beginMs < 0 ? clip.beginMs : std::min(span.beginMs, clip.beginMs);
    span.endMs = std::max(span.endMs, clip.endMs);
  }
  return span;
}

}  // namespace

TitleFacts titleOfClips(const TitleFacts& title, const std::vector<std::string>& clipNames) {
  const Span span = spanOf(title.clips, clipNames);
  if (span.beginMs < 0) return title;
  TitleFacts part = title;
  part.chapters.clear();
  for (const ChapterFact& chapter : title.chapters) {
    if (chapter.startMs >= span.beginMs && chapter.startMs < span.endMs) {
      part.chapters.push_back({chapter.startMs - span.beginMs, chapter.name});
    }
  }
  return part;
}

}  // namespace tessaly
