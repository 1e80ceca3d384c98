#include "disc/audio_join.h"

#include <cstdlib>

#include "audio/frame_walker.h"
#include "platform/files.h"

namespace tessaly {
namespace {

// The frames of a part, from its first, until one that may start the part: at or after
// `from` (units on the part's time line) and where a decoder can start.
class FirstKept final : public FrameSink {
 public:
  FirstKept(const AudioPart& part, std::int64_t from) : time_(part.start), from_(from) {}

  void frame(const AudioFrame& f) override {
    if (found_) return;
    if (time_ >= from_ && f.majorSync) {
      found_ = f.offset;
      return;
    }
    time_ += f.duration();
    skipped_ += f.duration();
    ++frames_;
  }
  bool found() const { return found_.has_value(); }
  // Cuts the frames before the one found off `part`; false when none was found.
  bool cut(AudioPart& part) const {
    if (!found_) return false;
    part.begin = *found_;
    part.start = time_;
    part.duration -= skipped_;
    part.frames -= frames_;
    return true;
  }
  std::uint64_t frames() const { return frames_; }

 private:
  std::int64_t time_;
  std::int64_t from_;
  std::int64_t skipped_ = 0;
  std::uint64_t frames_ = 0;
  std::optional<std::uint64_t> found_;
};

// Walks the part's bytes in `path` until the first frame kept.
void walkPart(const AudioPart& part, const std::string& path, AudioCoding coding, FirstKept& kept) {
  const auto walker = frameWalker(coding, {}, kept);
  if (!walker) return;
  InputFile input(path, Access::Shared);
  walker->packet(part.begin, std::nullopt);
  input.readRange(part.begin, part.end, [&](const std::uint8_t* data, std::size_t size) {
    walker->bytes(data, size);
    return !kept.found();
  });
  if (!kept.found()) walker->finish();
}

}  // namespace

std::optional<AudioBreak> joinClipAudio(const std::vector<AudioPart>& title,
                                        std::vector<AudioPart>& clip, const std::string& path,
                                        AudioCoding coding) {
  if (title.empty() || clip.empty() || title.back().frames == 0) return std::nullopt;
  const AudioPart& last = title.back();
  const std::int64_t end = last.start + last.duration;
  const std::int64_t frame = last.duration / static_cast<std::int64_t>(last.frames);
  AudioPart& first = clip.front();
  AudioBreak join{first.begin, end, first.start - end, 0, 0};
  if (std::abs(join.jump) * 2 <= frame) return std::nullopt;
  if (join.jump > 0) return join;
  FirstKept kept(first, end - frame / 2);
  walkPart(first, path, coding, kept);
  if (kept.cut(first)) join.framesDropped = kept.frames();
  return join;
}

}  // namespace tessaly
